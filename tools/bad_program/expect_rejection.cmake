# Runs the import audit on bad_program.exe and passes only when the audit fails and names each
# of the faults the program was built with.
#   cmake -DAUDIT=pe_audit "-DLISTS=--exports;DIR;--stubs;FILE" -DPROGRAM=bad_program.exe -P ...
execute_process(COMMAND ${AUDIT} ${LISTS} ${PROGRAM}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${output}${errors}")
if(NOT result EQUAL 1)
  message(FATAL_ERROR "the audit exited with ${result}, not 1, on a program that must fail it")
endif()
foreach(fault
    "FAULT  subsystem version 6.0"
    "FAULT  OS version 6.0"
    "FAULT  kernel32.dll!GetTickCount64: not exported by name on Windows 95"
    "FAULT  kernel32.dll!CopyFileW: a stub on Windows 9x"
    "FAULT  comctl32.dll!#410: imported by ordinal"
    "FAULT  user32.dll!AnimateWindow (delay-loaded): not exported by name on Windows 95")
  string(FIND "${output}" "${fault}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the audit did not report: ${fault}")
  endif()
endforeach()
