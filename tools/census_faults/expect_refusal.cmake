# The census is no rubber stamp: a small object with one instruction a 486DX lacks is refused,
# kind by kind; a CPUID behind the test for it passes, one without is refused; the shipped
# program is refused when its runtime is said to come from another folder, and a document that
# asks for a Pentium Pro is refused.
#   cmake -DOBJDUMP=... -DAS=i686-w64-mingw32-gcc -DWORK=<dir> -DPROGRAM=korvane_config.exe
#         -DMAP=korvane_config.map -DCENSUS=i486_census.cmake -P expect_refusal.cmake
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# Runs the census with these arguments; sets `passed` and `said`.
function(census)
  execute_process(COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${OBJDUMP} ${ARGN} -P ${CENSUS}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(result EQUAL 0)
    set(passed TRUE PARENT_SCOPE)
  else()
    set(passed FALSE PARENT_SCOPE)
  endif()
  set(said "${output}${errors}" PARENT_SCOPE)
endfunction()

# An object whose code is `code` (AT&T syntax, lines separated by ";"; "&" in the table).
function(object name code)
  string(REPLACE ";" "\n" lines "${code}")
  file(WRITE ${WORK}/${name}.s ".text\n.globl _${name}\n_${name}:\n${lines}\nret\n")
  execute_process(COMMAND ${AS} -c ${WORK}/${name}.s -o ${WORK}/${name}.o RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "could not assemble ${name}.s")
  endif()
endfunction()

# The test that the processor has CPUID: the ID flag of EFLAGS flipped and read back.
set(id_test "pushfl;popl %eax;movl %eax,%ecx;xorl $0x200000,%eax;pushl %eax;popfl"
            "pushfl;popl %eax;xorl %ecx,%eax;testl $0x200000,%eax;jz 1f")
set(faults
    "cmov|cmovne %edx,%eax|CMOV/FCMOV/FCOMI/FUCOMI"
    "fcmov|fcmovb %st(1),%st|CMOV/FCMOV/FCOMI/FUCOMI"
    "fucomip|fucomip %st(1),%st|CMOV/FCMOV/FCOMI/FUCOMI"
    "long_nop|nopl 0x0(%eax,%eax,1)|multi-byte or hint NOP"
    "prefetch|prefetchnta (%eax)|multi-byte or hint NOP"
    "mmx|movq %mm0,%mm1&emms|MMX/SSE"
    "sse|movaps %xmm0,%xmm1|MMX/SSE"
    "mxcsr|ldmxcsr (%eax)|MMX/SSE"
    "rdtsc|rdtsc|RDTSC/RDPMC/CMPXCHG8B/SYSENTER"
    "cmpxchg8b|cmpxchg8b (%esi)|RDTSC/RDPMC/CMPXCHG8B/SYSENTER"
    "cpuid|xorl %eax,%eax&cpuid|CPUID without a test")
foreach(fault ${faults})
  string(REPLACE "|" ";" parts "${fault}")
  list(GET parts 0 name)
  list(GET parts 1 code)
  list(GET parts 2 kind)
  string(REPLACE "&" ";" code "${code}")
  object(${name} "${code}")
  census(-DPROGRAM=${WORK}/${name}.o)
  if(passed)
    message(FATAL_ERROR "the census passed ${name}.o, which holds ${code}")
  endif()
  if(NOT said MATCHES ": [1-9][0-9]* ${kind}")
    message(FATAL_ERROR "the census did not name the ${kind} in ${name}.o:\n${said}")
  endif()
endforeach()

# CPUID behind the test passes, and so does a second one after it; a code of nothing but 486
# instructions passes.
object(tested_cpuid "${id_test};xorl %eax,%eax;cpuid;movl $1,%eax;cpuid;1:")
census(-DPROGRAM=${WORK}/tested_cpuid.o)
if(NOT passed)
  message(FATAL_ERROR "the census refused CPUID behind the test for it:\n${said}")
endif()
object(plain_486 "bswap %eax;xaddl %eax,(%ecx);lock cmpxchgl %edx,(%ecx);fcomp %st(1);fnstsw %ax;sahf;nop")
census(-DPROGRAM=${WORK}/plain_486.o)
if(NOT passed)
  message(FATAL_ERROR "the census refused 486 instructions:\n${said}")
endif()

# The shipped program, with its runtime said to be elsewhere.
census(-DPROGRAM=${PROGRAM} -DMAP=${MAP} -DRUNTIME=${WORK})
if(passed OR NOT said MATCHES "runtime object not from")
  message(FATAL_ERROR "the census took a runtime from elsewhere:\n${said}")
endif()

# A document that asks for a Pentium Pro.
file(WRITE ${WORK}/old_readme.txt "The tool needs a Pentium Pro or later processor.\n")
census(-DPROGRAM=${WORK}/plain_486.o -DDOCS=${WORK}/old_readme.txt)
if(passed OR NOT said MATCHES "does not say that the program runs on a 486DX or later")
  message(FATAL_ERROR "the census took a document without \"486DX or later\":\n${said}")
endif()
message("the census refused every fault")
