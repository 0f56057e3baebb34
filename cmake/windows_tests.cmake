# The Windows tests, listed in the program's tree (build/win) so that one ctest runs them all:
#  - the import audit of the shipped program, and its rejection of a deliberately bad program;
#  - the unit tests and the end-to-end tests under Wine, in 32-bit prefixes, and the typical run
#    once more in a prefix that reports Windows 98.
# The test programs need GoogleTest, which needs std::mutex, which the win32 thread model of the
# shipped program's compilers lacks; so they are built by a second tree with the posix i686
# compilers (build/win/test-programs). The audit is a Linux program, built by a third small tree
# (build/win/host-tools). Both are made and built with this tree.
include(ExternalProject)
cmake_host_system_information(RESULT host_cores QUERY NUMBER_OF_LOGICAL_CORES)

set(test_programs ${CMAKE_BINARY_DIR}/test-programs)
ExternalProject_Add(test_programs
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${test_programs}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-i686-posix.cmake
             -DKORVANE_TEST_PROGRAMS=ON -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> -j ${host_cores}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_CONFIGURE ON
  USES_TERMINAL_BUILD ON)

set(host_tools ${CMAKE_BINARY_DIR}/host-tools)
ExternalProject_Add(host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools
  BINARY_DIR ${host_tools}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DKORVANE_TOOLS_ONLY=ON
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> -j ${host_cores}
  BUILD_ALWAYS ON
  INSTALL_COMMAND "")

set(audit ${host_tools}/pe_audit)
set(exports ${PROJECT_SOURCE_DIR}/tools/win9x/exports)
set(audit_lists --exports ${exports}/95 --stubs ${exports}/stubs.txt)

# The program loads on Windows 95: PE32, i386, GUI subsystem and OS version 4.0, every import
# exported by name there and none a stub; and it stays small.
add_test(NAME import_audit
         COMMAND ${audit} ${audit_lists} --max-size 409600 $<TARGET_FILE:korvane_config>)
# The audit is no rubber stamp: a program with every kind of fault is refused, fault by fault.
add_test(NAME import_audit_rejects_bad_program
         COMMAND ${CMAKE_COMMAND} -DAUDIT=${audit} "-DLISTS=${audit_lists}"
                 -DPROGRAM=$<TARGET_FILE:bad_program>
                 -P ${PROJECT_SOURCE_DIR}/tools/bad_program/expect_rejection.cmake)

add_test(NAME unit_tests_under_wine
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${test_programs}/tests/korvane_tests.exe)
set_tests_properties(unit_tests_under_wine PROPERTIES
  ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-unit" TIMEOUT 600)

set(e2e_command ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${test_programs}/e2e/korvane_e2e.exe
                --tool=$<TARGET_FILE:korvane_config>
                --screenshots=${CMAKE_BINARY_DIR}/e2e/screenshots)
add_test(NAME e2e_under_wine COMMAND ${e2e_command} --gtest_filter=-Win98*:Colours256*)
set_tests_properties(e2e_under_wine PROPERTIES
  ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-e2e" TIMEOUT 600 RUN_SERIAL TRUE)
# The typical run in a prefix that reports Windows 98 (4.10, the 9x platform).
add_test(NAME e2e_win98 COMMAND ${e2e_command} --gtest_filter=Win98*)
set_tests_properties(e2e_win98 PROPERTIES
  ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-win98;KORVANE_WINDOWS_VERSION=win98"
  TIMEOUT 600 RUN_SERIAL TRUE)
# The status bar pictures on a 256-colour display, an 8-bit X server of its own.
find_program(KORVANE_XVFB_RUN xvfb-run REQUIRED)
add_test(NAME e2e_256_colours
         COMMAND ${KORVANE_XVFB_RUN} -a -s "-screen 0 800x600x8" ${e2e_command}
                 --gtest_filter=Colours256*)
set_tests_properties(e2e_256_colours PROPERTIES
  ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-256" TIMEOUT 600 RUN_SERIAL TRUE)

# The release zip and disks hold the three files as built and written, the disks are what
# their names say, and the version resource carries the version in their names.
add_test(NAME release_package
         COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DVERSION=${PROJECT_VERSION}
                 -DPROGRAM=$<TARGET_FILE:korvane_config> -DDOCS=${PROJECT_SOURCE_DIR}/docs
                 -DLABEL=${KORVANE_VOLUME_LABEL}
                 -P ${PROJECT_SOURCE_DIR}/tools/check_package.cmake)
# The disk check refuses disks with one fault each.
add_test(NAME release_disks_check_rejects_faults
         COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:korvane_config>
                 -DDOCS=${PROJECT_SOURCE_DIR}/docs -DLABEL=${KORVANE_VOLUME_LABEL}
                 -DWORK=${CMAKE_BINARY_DIR}/disk-check-faults
                 -P ${PROJECT_SOURCE_DIR}/tools/check_images_rejects.cmake)

# The processor the program needs: none of the instructions a 486DX lacks in its code, the runtime
# linked the one rebuilt for the 486 (see cmake/runtime_486.cmake), and the documents saying
# "486DX or later". The census refuses small programs with one such fault each.
find_program(KORVANE_OBJDUMP NAMES i686-w64-mingw32-objdump REQUIRED)
if(KORVANE_DEBIAN_RUNTIME)
  set(runtime_check "")
else()
  set(runtime_check -DRUNTIME=${KORVANE_486_RUNTIME})
endif()
add_test(NAME i486_instructions
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${KORVANE_OBJDUMP} -DPROGRAM=$<TARGET_FILE:korvane_config>
                 -DMAP=${KORVANE_PROGRAM_MAP} ${runtime_check}
                 "-DDOCS=${PROJECT_SOURCE_DIR}/README.md;${PROJECT_SOURCE_DIR}/docs/readme.txt"
                 -P ${PROJECT_SOURCE_DIR}/tools/i486_census.cmake)
add_test(NAME i486_census_rejects_faults
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${KORVANE_OBJDUMP}
                 -DAS=${CMAKE_C_COMPILER} -DWORK=${CMAKE_BINARY_DIR}/census-faults
                 -DPROGRAM=$<TARGET_FILE:korvane_config> -DMAP=${KORVANE_PROGRAM_MAP}
                 -DCENSUS=${PROJECT_SOURCE_DIR}/tools/i486_census.cmake
                 -DFAULTS=${PROJECT_SOURCE_DIR}/tools/census_faults
                 -P ${PROJECT_SOURCE_DIR}/tools/census_faults/expect_refusal.cmake)
