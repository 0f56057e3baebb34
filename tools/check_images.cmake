# Checks the two release disks against the files they were made from: the floppy image is
# exactly 1,474,560 bytes, FAT12, labelled LABEL, and the CD image is ISO 9660 with Joliet names;
# each holds exactly korvane_config.exe, help.html and readme.txt under these long names, the
# same bytes as PROGRAM and DOCS/help.html and DOCS/readme.txt. Read with the same tools a user's
# system would go through: mtools for the floppy, isoinfo for the CD.
#   cmake -DFLOPPY=x.img -DCD=x.iso -DLABEL=KORVANE -DPROGRAM=.../korvane_config.exe
#         -DDOCS=.../docs -DWORK=scratch-dir -P check_images.cmake
find_program(MDIR mdir REQUIRED)
find_program(MCOPY mcopy REQUIRED)
find_program(ISOINFO isoinfo REQUIRED)
set(expected_names "help.html;korvane_config.exe;readme.txt")
set(originals "korvane_config.exe=${PROGRAM}" "help.html=${DOCS}/help.html"
              "readme.txt=${DOCS}/readme.txt")

function(fail text)
  message(FATAL_ERROR "${text}")
endfunction()

# Runs a command and gives its output; a failure fails the check with `what`.
function(run out what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    fail("${what}: ${errors}")
  endif()
  set(${out} "${output}" PARENT_SCOPE)
endfunction()

# The sorted names of a listing's lines that start with `prefix` (a path of the image's root).
function(names_listed out listing prefix)
  string(REGEX MATCHALL "${prefix}[^\n]+" paths "${listing}")
  set(names "")
  foreach(path ${paths})
    string(REGEX REPLACE "^${prefix}" "" name "${path}")
    list(APPEND names "${name}")
  endforeach()
  list(SORT names)
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# Fails unless every file taken out into `dir` is the same as the one it was made from.
function(compare_taken_out dir image)
  foreach(pair ${originals})
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 name)
    list(GET pair 1 original)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${dir}/${name} ${original}
                    RESULT_VARIABLE differs)
    if(differs)
      fail("${name} on ${image} differs from ${original}")
    endif()
  endforeach()
endfunction()

# The floppy image.
if(NOT EXISTS "${FLOPPY}")
  fail("no ${FLOPPY}")
endif()
file(SIZE ${FLOPPY} size)
if(NOT size EQUAL 1474560)
  fail("${FLOPPY} is ${size} bytes, not the 1,474,560 of a 1.44 MB floppy")
endif()
# The extended boot sector: the volume label at offset 43 (11 bytes, padded with spaces) and
# the file system type at 54 (8 bytes). Read as hex, since CMake's text reads stop at odd bytes.
function(text_hex text out)
  string(HEX "${text}" hex)
  set(${out} ${hex} PARENT_SCOPE)
endfunction()
file(READ ${FLOPPY} label_hex OFFSET 43 LIMIT 11 HEX)
file(READ ${FLOPPY} type_hex OFFSET 54 LIMIT 8 HEX)
text_hex("FAT12   " fat12_hex)
if(NOT type_hex STREQUAL fat12_hex)
  fail("${FLOPPY} is not FAT12 (its boot sector's type field holds ${type_hex})")
endif()
string(LENGTH "${LABEL}" label_length)
math(EXPR padding "11 - ${label_length}")
string(REPEAT " " ${padding} spaces)
text_hex("${LABEL}${spaces}" expected_label_hex)
if(NOT label_hex STREQUAL expected_label_hex)
  fail("${FLOPPY}'s boot sector does not carry the label ${LABEL} (it holds ${label_hex})")
endif()
# The label that DOS and Windows show is the root directory's label entry.
set(ENV{MTOOLS_SKIP_CHECK} 1)
run(listing "mdir cannot read ${FLOPPY}" ${MDIR} -i ${FLOPPY} ::/)
if(NOT listing MATCHES "Volume in drive : is ${LABEL} *\n")
  fail("${FLOPPY} has no volume label ${LABEL}: ${listing}")
endif()
run(bare "mdir cannot read ${FLOPPY}" ${MDIR} -b -i ${FLOPPY} ::/)
names_listed(names "${bare}" "::/")
if(NOT names STREQUAL expected_names)
  fail("${FLOPPY} holds \"${names}\", not \"${expected_names}\"")
endif()
set(taken_out ${WORK}/floppy)
file(REMOVE_RECURSE ${taken_out})
file(MAKE_DIRECTORY ${taken_out})
foreach(name ${names})
  run(ignored "mcopy cannot take ${name} off ${FLOPPY}"
      ${MCOPY} -n -i ${FLOPPY} ::/${name} ${taken_out}/${name})
endforeach()
compare_taken_out(${taken_out} ${FLOPPY})

# The CD image.
if(NOT EXISTS "${CD}")
  fail("no ${CD}")
endif()
run(description "isoinfo cannot read ${CD}" ${ISOINFO} -d -i ${CD})
if(NOT description MATCHES "CD-ROM is in ISO 9660 format")
  fail("${CD} is not ISO 9660")
endif()
if(NOT description MATCHES "Joliet with UCS level")
  fail("${CD} has no Joliet names")
endif()
if(NOT description MATCHES "Volume id: ${LABEL}\n")
  fail("${CD}'s volume id is not ${LABEL}")
endif()
run(found "isoinfo cannot list ${CD}" ${ISOINFO} -J -f -i ${CD})
names_listed(names "${found}" "/")
if(NOT names STREQUAL expected_names)
  fail("${CD} holds \"${names}\" under Joliet, not \"${expected_names}\"")
endif()
set(taken_out ${WORK}/cd)
file(REMOVE_RECURSE ${taken_out})
file(MAKE_DIRECTORY ${taken_out})
foreach(name ${names})
  execute_process(COMMAND ${ISOINFO} -J -x /${name} -i ${CD} OUTPUT_FILE ${taken_out}/${name}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    fail("isoinfo cannot take ${name} off ${CD}")
  endif()
endforeach()
compare_taken_out(${taken_out} ${CD})
message("${FLOPPY}: FAT12, ${LABEL}, ${names}")
message("${CD}: ISO 9660 and Joliet, ${LABEL}, ${names}")
