# Cross-build of the program that ships: 32-bit Windows with Debian's MinGW-w64 i686 compilers in
# the win32 thread model. The posix model would bring imports Windows 95 does not have
# (TryEnterCriticalSection, AddVectoredExceptionHandler, GetTickCount64).
set(KORVANE_MINGW_THREADS win32)
# Code for the 486DX (cmake/runtime_486.cmake rebuilds the runtime the same way), unless the build
# is one that compares with Debian's runtime.
if(NOT KORVANE_DEBIAN_RUNTIME)
  set(CMAKE_C_FLAGS_INIT "-march=i486 -mtune=generic")
  set(CMAKE_CXX_FLAGS_INIT "-march=i486 -mtune=generic")
endif()
set(CMAKE_SYSTEM_VERSION 4.0)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-i686.cmake)
