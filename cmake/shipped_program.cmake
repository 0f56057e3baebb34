# What makes korvane_config.exe the program that ships: a stripped PE32 GUI program for
# subsystem and OS version 4.0, so that Windows 95, 98 and ME load it.
target_link_options(korvane_config PRIVATE -s
  -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
  -Wl,--major-os-version,4,--minor-os-version,0)
# The runtime's wide imports that are stubs on 9x, replaced by ANSI stand-ins. Compiled into the
# program itself, not into a library, so the program's slots are there before any library asks.
target_sources(korvane_config PRIVATE ${PROJECT_SOURCE_DIR}/platform/win32/win9x_imports.cpp)
include(${CMAKE_CURRENT_LIST_DIR}/runtime_486.cmake)

# The release zip, korvane-config-<version>-win32.zip: the program with help.html and readme.txt,
# all three at the top of the zip. `cmake --build build/win --target package` makes it.
set(package_zip ${CMAKE_BINARY_DIR}/korvane-config-${PROJECT_VERSION}-win32.zip)
set(package_dir ${CMAKE_BINARY_DIR}/package)
set(package_docs ${PROJECT_SOURCE_DIR}/docs/help.html ${PROJECT_SOURCE_DIR}/docs/readme.txt)
add_custom_command(OUTPUT ${package_zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_dir} ${package_zip}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${package_dir}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:korvane_config> ${package_docs} ${package_dir}
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_dir}
          ${CMAKE_COMMAND} -E tar cf ${package_zip} --format=zip
          korvane_config.exe help.html readme.txt
  DEPENDS korvane_config ${package_docs}
  COMMENT "Packing ${package_zip}")
add_custom_target(package DEPENDS ${package_zip})
