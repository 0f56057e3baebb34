# Counts the instructions of the shipped program that first came with the Pentium Pro (CMOVcc,
# FCMOVcc, FCOMI and FUCOMI, with their popping forms), and checks that README.md and
# docs/readme.txt name the processor the program is built for: a 486DX or later.
#   cmake -DOBJDUMP=i686-w64-mingw32-objdump -DPROGRAM=korvane_config.exe
#         -DDOCS="README.md;docs/readme.txt" -P count_p6.cmake
execute_process(COMMAND ${OBJDUMP} -d ${PROGRAM} RESULT_VARIABLE result OUTPUT_VARIABLE listing)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} could not disassemble ${PROGRAM}")
endif()
string(REGEX MATCHALL "\t(cmov[a-z]+) " cmov "${listing}")
string(REGEX MATCHALL "\t(fcmov[a-z]+|fcomip?|fucomip?) " x87 "${listing}")
list(LENGTH cmov cmov_count)
list(LENGTH x87 x87_count)
message("${PROGRAM}: ${cmov_count} CMOV, ${x87_count} FCMOV/FCOMI/FUCOMI")
foreach(document ${DOCS})
  file(READ ${document} text)
  string(REGEX REPLACE "[ \r\n]+" " " text "${text}")
  if(NOT text MATCHES "486DX or later")
    message(FATAL_ERROR "${document} does not say that the program runs on a 486DX or later")
  endif()
endforeach()
if(cmov_count GREATER 0 OR x87_count GREATER 0)
  message(FATAL_ERROR "the program holds instructions that a 486 lacks")
endif()
