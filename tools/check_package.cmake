# Makes the release files and checks them: the zip, the floppy image and the CD image each hold
# exactly korvane_config.exe, help.html and readme.txt, the same bytes as what was built and
# written (the images as check_images.cmake checks them), and the program's version resource
# (the fixed numbers and the FileVersion and ProductVersion texts) carries the version in the
# files' names.
#   cmake -DBUILD_DIR=build/win -DVERSION=1.0.0 -DPROGRAM=.../korvane_config.exe
#         -DDOCS=.../docs -DLABEL=KORVANE -P check_package.cmake
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target package
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the package target failed")
endif()
set(zip ${BUILD_DIR}/korvane-config-${VERSION}-win32.zip)
if(NOT EXISTS ${zip})
  message(FATAL_ERROR "no ${zip}")
endif()

set(unpacked ${BUILD_DIR}/package-check)
file(REMOVE_RECURSE ${unpacked})
file(MAKE_DIRECTORY ${unpacked})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${unpacked}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${zip}")
endif()
file(GLOB_RECURSE names RELATIVE ${unpacked} ${unpacked}/*)
list(SORT names)
if(NOT names STREQUAL "help.html;korvane_config.exe;readme.txt")
  message(FATAL_ERROR "the zip holds ${names}")
endif()
foreach(pair "korvane_config.exe=${PROGRAM}" "help.html=${DOCS}/help.html"
             "readme.txt=${DOCS}/readme.txt")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 original)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${unpacked}/${name} ${original}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${name} in the zip differs from ${original}")
  endif()
endforeach()

# The fixed part of the version resource: after its signature FEEF04BD and structure version
# 1.0, the file version's high and low double words, each little-endian.
string(REPLACE "." ";" parts ${VERSION})
list(GET parts 0 major)
list(GET parts 1 minor)
list(GET parts 2 patch)
function(word_hex value out)
  math(EXPR low "${value} % 256" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR high "${value} / 256" OUTPUT_FORMAT HEXADECIMAL)
  foreach(byte low high)
    string(SUBSTRING "${${byte}}" 2 -1 digits)
    string(LENGTH "${digits}" length)
    if(length EQUAL 1)
      set(digits "0${digits}")
    endif()
    set(${byte} ${digits})
  endforeach()
  set(${out} "${low}${high}" PARENT_SCOPE)
endfunction()
word_hex(${major} major_hex)
word_hex(${minor} minor_hex)
word_hex(${patch} patch_hex)
set(fixed "bd04effe00000100${minor_hex}${major_hex}0000${patch_hex}")
file(READ ${unpacked}/korvane_config.exe program_hex HEX)
string(FIND "${program_hex}" "${fixed}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the version resource's numbers are not ${VERSION} (looked for ${fixed})")
endif()

# The texts of the version resource are UTF-16LE, each key followed by its value after the
# key's terminating NUL and padding to a 32-bit boundary.
function(utf16_hex text out)
  set(hex "")
  string(LENGTH "${text}" length)
  math(EXPR last "${length} - 1")
  foreach(i RANGE ${last})
    string(SUBSTRING "${text}" ${i} 1 char)
    string(HEX "${char}" char_hex)
    string(APPEND hex "${char_hex}00")
  endforeach()
  set(${out} ${hex} PARENT_SCOPE)
endfunction()
utf16_hex(${VERSION} version_text)
foreach(key FileVersion ProductVersion)
  utf16_hex(${key} key_text)
  if(NOT program_hex MATCHES "${key_text}0000(0000)?${version_text}0000")
    message(FATAL_ERROR "the version resource's ${key} is not \"${VERSION}\"")
  endif()
endforeach()
message("${zip}: ${names}, version ${VERSION}")

set(base ${BUILD_DIR}/korvane-config-${VERSION}-win32)
execute_process(COMMAND ${CMAKE_COMMAND} -DFLOPPY=${base}.img -DCD=${base}.iso -DLABEL=${LABEL}
                        -DPROGRAM=${PROGRAM} -DDOCS=${DOCS} -DWORK=${BUILD_DIR}/package-check-images
                        -P ${CMAKE_CURRENT_LIST_DIR}/check_images.cmake
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the release images are wrong")
endif()
