# What makes korvane_config.exe the program that ships: a stripped PE32 GUI program for
# subsystem and OS version 4.0, so that Windows 95, 98 and ME load it.
target_link_options(korvane_config PRIVATE -s
  -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
  -Wl,--major-os-version,4,--minor-os-version,0)
# The runtime's wide imports that are stubs on 9x, replaced by ANSI stand-ins. Compiled into the
# program itself, not into a library, so the program's slots are there before any library asks.
target_sources(korvane_config PRIVATE ${PROJECT_SOURCE_DIR}/platform/win32/win9x_imports.cpp)
include(${CMAKE_CURRENT_LIST_DIR}/runtime_486.cmake)

# The release files, all from the same three files at the top level: the zip
# korvane-config-<version>-win32.zip, a 1.44 MB floppy image (.img, FAT12) and a CD image (.iso,
# ISO 9660 with Joliet names, which Windows 95 and later read). `cmake --build build/win --target
# package` makes them. The images carry fixed dates, serial and labels, so the same three files
# give the same bytes: the files' dates and the volumes' are SOURCE_DATE_EPOCH when it is set,
# else KORVANE_RELEASE_EPOCH.
find_program(KORVANE_MFORMAT mformat REQUIRED)
find_program(KORVANE_MCOPY mcopy REQUIRED)
find_program(KORVANE_XORRISO xorriso REQUIRED)
find_program(KORVANE_TOUCH touch REQUIRED)
set(KORVANE_RELEASE_EPOCH 1767225600 CACHE STRING
    "Seconds since 1970 for the dates in the release images (default 2026-01-01 00:00 UTC)")
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(release_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  set(release_epoch ${KORVANE_RELEASE_EPOCH})
endif()
# FAT labels hold 11 characters, ISO 9660 volume ids upper-case letters, digits and "_".
set(KORVANE_VOLUME_LABEL KORVANE)
set(KORVANE_VOLUME_SERIAL 4B565A31)

set(package_base ${CMAKE_BINARY_DIR}/korvane-config-${PROJECT_VERSION}-win32)
set(package_zip ${package_base}.zip)
set(package_floppy ${package_base}.img)
set(package_cd ${package_base}.iso)
set(package_dir ${CMAKE_BINARY_DIR}/package)
set(package_docs ${PROJECT_SOURCE_DIR}/docs/help.html ${PROJECT_SOURCE_DIR}/docs/readme.txt)
set(package_files korvane_config.exe help.html readme.txt)
add_custom_command(OUTPUT ${package_zip} ${package_floppy} ${package_cd}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_dir} ${package_zip} ${package_floppy} ${package_cd}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${package_dir}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:korvane_config> ${package_docs} ${package_dir}
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_dir}
          ${KORVANE_TOUCH} -d @${release_epoch} ${package_files}
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_dir}
          ${CMAKE_COMMAND} -E tar cf ${package_zip} --format=zip ${package_files}
  # 80 tracks, 2 sides, 18 sectors: the 1.44 MB format. mcopy -m keeps the files' dates.
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${release_epoch}
          ${KORVANE_MFORMAT} -C -f 1440 -v ${KORVANE_VOLUME_LABEL} -N ${KORVANE_VOLUME_SERIAL}
          -i ${package_floppy} ::
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_dir} ${CMAKE_COMMAND} -E env
          SOURCE_DATE_EPOCH=${release_epoch}
          ${KORVANE_MCOPY} -m -i ${package_floppy} ${package_files} ::/
  # Joliet carries the long names; the ISO 9660 names are the 8.3 ones that DOS sees.
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_dir} ${CMAKE_COMMAND} -E env
          SOURCE_DATE_EPOCH=${release_epoch}
          ${KORVANE_XORRISO} -as mkisofs -quiet -iso-level 1 -J -joliet-long -r
          -V ${KORVANE_VOLUME_LABEL} -o ${package_cd} ${package_files}
  DEPENDS korvane_config ${package_docs}
  COMMENT "Packing ${package_zip}, ${package_floppy} and ${package_cd}")
add_custom_target(package DEPENDS ${package_zip} ${package_floppy} ${package_cd})
