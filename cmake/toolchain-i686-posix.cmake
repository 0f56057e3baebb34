# Cross-build of the test programs: 32-bit Windows with Debian's MinGW-w64 i686 compilers in the
# posix thread model, which GoogleTest needs for std::mutex. Nothing built with it ships.
set(KORVANE_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-i686.cmake)
