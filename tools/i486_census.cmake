# The census of the instructions a 486DX lacks in a program's code, and of where its runtime came
# from. Fails when the code holds any of:
#  - CMOVcc, FCMOVcc, FCOMI, FUCOMI and their popping forms (Pentium Pro);
#  - the multi-byte NOP and hint NOPs (0F 18..0F 1F), MMX (mm registers, EMMS), SSE (xmm
#    registers, MXCSR, fences, prefetches, non-temporal stores, FXSAVE/FXRSTOR);
#  - RDTSC, RDTSCP, RDPMC and CMPXCHG8B (Pentium), SYSENTER and SYSEXIT;
#  - CPUID without the test before it that the processor has one: flipping the ID flag
#    (0x200000) of EFLAGS and reading it back with PUSHF/POPF, at most WINDOW bytes of listing
#    before it, or after another CPUID that had that test.
# The code is the .text section up to the constructor and destructor lists at its end (data come
# after them); with MAP, the link map, ___CTOR_LIST__ gives that end.
# With RUNTIME, every runtime object in MAP (crt2.o, crtbegin.o, crtend.o, libgcc, libgcc_eh,
# libmingw32, libmingwex, libmsvcrt, libmoldname, libstdc++, libsupc++) must come from there.
# With DOCS, each document must say that the program runs on a "486DX or later", and none may
# ask for a Pentium Pro.
#   cmake -DOBJDUMP=i686-w64-mingw32-objdump -DPROGRAM=korvane_config.exe
#         [-DMAP=korvane_config.map -DRUNTIME=<dir>] [-DDOCS="README.md;docs/readme.txt"]
#         -P i486_census.cmake
cmake_minimum_required(VERSION 3.20)
set(faults "")

set(stop "")
if(MAP)
  file(READ ${MAP} map)
  string(REGEX MATCH "0x0*([0-9a-f]+)[ ]+_*_CTOR_LIST__ = \\." ctor "${map}")
  if(NOT ctor)
    message(FATAL_ERROR "${MAP} does not give the constructor list's address")
  endif()
  set(stop --stop-address=0x${CMAKE_MATCH_1})
endif()
execute_process(COMMAND ${OBJDUMP} -d -w -j .text ${stop} ${PROGRAM}
                RESULT_VARIABLE result OUTPUT_VARIABLE listing)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} could not disassemble ${PROGRAM}")
endif()

# objdump -d -w lines: "  401000:\t0f 44 c2             \tcmove  %edx,%eax".
set(kinds p6 nop mmx_sse pentium)
set(p6_name "CMOV/FCMOV/FCOMI/FUCOMI")
set(p6_pattern "\t(cmov[a-z]+|fcmov[a-z]+|fcomip?|fucomip?)[ \n]")
set(nop_name "multi-byte or hint NOP")
set(nop_pattern "\t(nop[wl]|prefetch[a-z0-9]*)[ \n]")
set(mmx_sse_name "MMX/SSE")
set(mmx_sse_pattern
    "\t[a-z0-9]+ [^\n]*%x?mm[0-9]|\t(emms|[ls]dmxcsr|[lsm]fence|movnti|fxsave|fxrstor|clflush)[ \n]")
set(pentium_name "RDTSC/RDPMC/CMPXCHG8B/SYSENTER")
set(pentium_pattern "\t(rdtscp?|rdpmc|cmpxchg8b|sysenter|sysexit)[ \n]")
foreach(kind ${kinds})
  string(REGEX MATCHALL "${${kind}_pattern}" found "${listing}")
  list(LENGTH found count)
  message("${PROGRAM}: ${count} ${${kind}_name}")
  if(count GREATER 0)
    string(APPEND faults "  ${count} ${${kind}_name}\n")
  endif()
endforeach()

# Each CPUID, with the stretch of listing before it back to the previous CPUID.
if(NOT WINDOW)
  set(WINDOW 1600)
endif()
set(unguarded 0)
set(previous_tested FALSE)
set(rest "${listing}")
while(TRUE)
  string(FIND "${rest}" "\tcpuid" at)
  if(at EQUAL -1)
    break()
  endif()
  set(from 0)
  if(at GREATER WINDOW)
    math(EXPR from "${at} - ${WINDOW}")
  endif()
  math(EXPR length "${at} - ${from}")
  string(SUBSTRING "${rest}" ${from} ${length} before)
  if(before MATCHES "\\$0x200000," AND before MATCHES "\tpopf")
    set(previous_tested TRUE)
  elseif(NOT (previous_tested AND at LESS WINDOW))
    set(previous_tested FALSE)
    math(EXPR unguarded "${unguarded} + 1")
  endif()
  math(EXPR at "${at} + 6")
  string(SUBSTRING "${rest}" ${at} -1 rest)
endwhile()
message("${PROGRAM}: ${unguarded} CPUID without a test that the processor has it")
if(unguarded GREATER 0)
  string(APPEND faults "  ${unguarded} CPUID without a test that the processor has it\n")
endif()

if(RUNTIME)
  string(REGEX MATCHALL
         "[^ \t\n(]*/(crt2\\.o|crtbegin\\.o|crtend\\.o|libgcc\\.a|libgcc_eh\\.a|libmingw32\\.a|libmingwex\\.a|libmsvcrt\\.a|libmoldname\\.a|libstdc\\+\\+\\.a|libsupc\\+\\+\\.a)"
         objects "${map}")
  list(REMOVE_DUPLICATES objects)
  set(from_runtime 0)
  foreach(object ${objects})
    get_filename_component(folder ${object} DIRECTORY)
    get_filename_component(folder ${folder} REALPATH)
    get_filename_component(runtime ${RUNTIME} REALPATH)
    if(folder STREQUAL runtime)
      math(EXPR from_runtime "${from_runtime} + 1")
    else()
      string(APPEND faults "  runtime object not from ${RUNTIME}: ${object}\n")
    endif()
  endforeach()
  message("${PROGRAM}: ${from_runtime} runtime files from ${RUNTIME}")
  string(FIND "${map}" "${RUNTIME}/crt2.o" crt2_at)
  if(crt2_at EQUAL -1)
    string(APPEND faults "  the start-up code crt2.o is not the one in ${RUNTIME}\n")
  endif()
endif()

foreach(document ${DOCS})
  file(READ ${document} text)
  string(REGEX REPLACE "[ \r\n]+" " " text "${text}")
  if(NOT text MATCHES "486DX or later")
    string(APPEND faults "  ${document} does not say that the program runs on a 486DX or later\n")
  endif()
  if(text MATCHES "needs a Pentium Pro|Pentium Pro or later|Pentium Pro, Pentium II or later")
    string(APPEND faults "  ${document} still asks for a Pentium Pro\n")
  endif()
endforeach()

if(faults)
  message(FATAL_ERROR "${PROGRAM} does not run on every 486DX:\n${faults}")
endif()
