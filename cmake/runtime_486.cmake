# The runtime the shipped program links statically, rebuilt for the 486 by
# scripts/build-486-runtime.sh (Debian's copies use Pentium Pro instructions from the start-up
# code on). Built at configure time into runtime-486/ of this tree, or taken from there when it
# was built for the same package versions. -B finds crt2.o and crtbegin/crtend.o there, -L the
# libraries; the link map lets the census check that each runtime object came from there.
# KORVANE_DEBIAN_RUNTIME=ON links Debian's runtime instead, as the code generation to compare with.
option(KORVANE_DEBIAN_RUNTIME "Link Debian's runtime and compile for its processor (comparison builds)" OFF)
set(KORVANE_PROGRAM_MAP ${CMAKE_BINARY_DIR}/korvane_config.map)
target_link_options(korvane_config PRIVATE -Wl,-Map=${KORVANE_PROGRAM_MAP})
if(NOT KORVANE_DEBIAN_RUNTIME)
  execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/build-486-runtime.sh
                          ${CMAKE_BINARY_DIR}/runtime-486
                  OUTPUT_VARIABLE KORVANE_486_RUNTIME OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE runtime_result)
  if(NOT runtime_result EQUAL 0)
    message(FATAL_ERROR "The 486 runtime could not be built (see the messages above)")
  endif()
endif()

# Links `target` against the runtime the shipped program links: the rebuilt one, or Debian's in a
# comparison build. The benchmark programs that stand beside the tool use it too.
function(korvane_use_shipped_runtime target)
  if(NOT KORVANE_DEBIAN_RUNTIME)
    target_link_options(${target} PRIVATE -B${KORVANE_486_RUNTIME}/ -L${KORVANE_486_RUNTIME})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${KORVANE_486_RUNTIME}/complete)
  endif()
endfunction()

korvane_use_shipped_runtime(korvane_config)
