# What makes korvane_config.exe the program that ships: a stripped PE32 GUI program for
# subsystem and OS version 4.0, so that Windows 95, 98 and ME load it.
target_link_options(korvane_config PRIVATE -s
  -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
  -Wl,--major-os-version,4,--minor-os-version,0)
# The runtime's wide imports that are stubs on 9x, replaced by ANSI stand-ins. Compiled into the
# program itself, not into a library, so the program's slots are there before any library asks.
target_sources(korvane_config PRIVATE ${PROJECT_SOURCE_DIR}/platform/win32/win9x_imports.cpp)
