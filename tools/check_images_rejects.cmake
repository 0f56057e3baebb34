# check_images.cmake is no rubber stamp: disks made right from the three files pass it, and each
# disk with one fault is refused for that fault: the wrong size, a FAT16 boot sector, no label,
# a changed, missing or extra file, and a CD without Joliet names.
#   cmake -DPROGRAM=.../korvane_config.exe -DDOCS=.../docs -DLABEL=KORVANE -DWORK=scratch-dir
#         -P check_images_rejects.cmake
find_program(MFORMAT mformat REQUIRED)
find_program(MCOPY mcopy REQUIRED)
find_program(XORRISO xorriso REQUIRED)
find_program(DD dd REQUIRED)
set(ENV{MTOOLS_SKIP_CHECK} 1)
file(REMOVE_RECURSE ${WORK})
set(right ${WORK}/right)
set(changed ${WORK}/changed)
file(MAKE_DIRECTORY ${right} ${changed})
file(COPY ${PROGRAM} ${DOCS}/help.html ${DOCS}/readme.txt DESTINATION ${right})
file(COPY ${PROGRAM} ${DOCS}/help.html DESTINATION ${changed})
file(READ ${DOCS}/readme.txt readme)
file(WRITE ${changed}/readme.txt "${readme}.")
set(files korvane_config.exe help.html readme.txt)

function(must cmd)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot make a test disk (${ARGV}): ${errors}")
  endif()
endfunction()
# A floppy image `name` of `kilobytes`, made with the mformat options given, holding these files
# of `dir`.
function(floppy name kilobytes format_options dir)
  set(image ${WORK}/${name}.img)
  must(${MFORMAT} -C -f ${kilobytes} ${format_options} -i ${image} ::)
  if(ARGN)
    must(${CMAKE_COMMAND} -E chdir ${dir} ${MCOPY} -i ${image} ${ARGN} ::/)
  endif()
endfunction()
function(cd name options dir)
  must(${CMAKE_COMMAND} -E chdir ${dir} ${XORRISO} -as mkisofs -quiet ${options} -V ${LABEL}
       -o ${WORK}/${name}.iso ${ARGN})
endfunction()
# Runs the check on one pair; `expected` is empty for a pair that must pass, else a pattern of
# the refusal.
function(check floppy_name cd_name expected)
  execute_process(COMMAND ${CMAKE_COMMAND} -DFLOPPY=${WORK}/${floppy_name}.img
                          -DCD=${WORK}/${cd_name}.iso -DLABEL=${LABEL} -DPROGRAM=${PROGRAM}
                          -DDOCS=${DOCS} -DWORK=${WORK}/taken-out
                          -P ${CMAKE_CURRENT_LIST_DIR}/check_images.cmake
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  # CMake wraps long error lines.
  string(REGEX REPLACE "[ \n]+" " " errors "${errors}")
  if(expected STREQUAL "")
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "right disks ${floppy_name} and ${cd_name} refused: ${errors}")
    endif()
  elseif(result EQUAL 0)
    message(FATAL_ERROR "${floppy_name} with ${cd_name} passed; expected \"${expected}\"")
  elseif(NOT errors MATCHES "${expected}")
    message(FATAL_ERROR "${floppy_name} with ${cd_name} refused for another fault than "
                        "\"${expected}\": ${errors}")
  else()
    message("${floppy_name} with ${cd_name}: refused, ${expected}")
  endif()
endfunction()

floppy(right 1440 "-v;${LABEL}" ${right} ${files})
cd(right "-J;-joliet-long;-r" ${right} ${files})
check(right right "")

floppy(big 2880 "-v;${LABEL}" ${right} ${files})
check(big right "is 2949120 bytes, not the 1,474,560")
floppy(fat16 1440 "-v;${LABEL}" ${right} ${files})
execute_process(COMMAND ${CMAKE_COMMAND} -E echo_append FAT16
                COMMAND ${DD} of=${WORK}/fat16.img bs=1 seek=54 conv=notrunc status=none
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot write FAT16 into the boot sector")
endif()
check(fat16 right "is not FAT12")
floppy(unlabelled 1440 "" ${right} ${files})
check(unlabelled right "does not carry the label ${LABEL}")
floppy(changed 1440 "-v;${LABEL}" ${changed} ${files})
check(changed right "readme.txt on [^ ]*changed.img differs")
floppy(short 1440 "-v;${LABEL}" ${right} korvane_config.exe readme.txt)
check(short right "holds \"korvane_config.exe;readme.txt\"")

cd(plain "-r" ${right} ${files})
check(right plain "has no Joliet names")
cd(changed "-J;-joliet-long;-r" ${changed} ${files})
check(right changed "readme.txt on [^ ]*changed.iso differs")
file(WRITE ${right}/autorun.inf "[autorun]\r\n")
cd(extra "-J;-joliet-long;-r" ${right} ${files} autorun.inf)
check(right extra "holds \"autorun.inf;help.html;korvane_config.exe;readme.txt\" under Joliet")
