# Console programs on the core that are built three ways: natively, for
# Windows (preset win, run under Wine) and for WebAssembly (preset wasm, run
# under node); the tests of the native build run all three and want the
# same output, byte for byte. scripts/cross-build.sh builds them,
# scripts/cross-run.sh runs one.
#
# To add a program: define its executable where the cross presets reach it
# (headless/; not under PETCALC_BUILD_TESTS or PETCALC_BUILD_UI, which are
# off there), linking petcalc_core and nothing from Qt or GoogleTest, then
#   petcalc_cross_program(my_program)
# and test it with
#   petcalc_cross_test(my_program_agrees my_program STDIN input.txt ARGS --flag)
# or with a test of your own that runs scripts/cross-run.sh wasm|win
# my_program, followed by petcalc_cross_requires(that_test).
include_guard(GLOBAL)

option(PETCALC_CROSS_TESTS "Compare the console programs' output across native, Windows and WebAssembly; the Windows program under Wine" ON)

# Every console program; the cross builds build this target.
add_custom_target(cross_programs)

function(petcalc_cross_program target)
  add_dependencies(cross_programs ${target})
  if(NOT CMAKE_CROSSCOMPILING)
    return()
  endif()
  # One place for scripts/cross-run.sh to find them.
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  if(EMSCRIPTEN)
    # A single .js with the module inside (this Emscripten's loader cannot
    # fetch a separate .wasm under node 20), the host's files through node,
    # and main's return value as the exit code.
    target_link_options(${target} PRIVATE -sSINGLE_FILE=1 -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1)
  elseif(WIN32)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/binary_stdio.cpp)
  endif()
endfunction()

# petcalc_cross_requires(TEST...): the tests run programs of the cross
# builds (scripts/cross-run.sh), which are then built first, once for all.
function(petcalc_cross_requires)
  get_property(have_setup GLOBAL PROPERTY petcalc_cross_setup)
  if(NOT have_setup)
    set_property(GLOBAL PROPERTY petcalc_cross_setup TRUE)
    foreach(preset wasm win)
      add_test(NAME cross_build_${preset}
        COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/cross-build.sh ${preset} cross_programs)
      set_tests_properties(cross_build_${preset} PROPERTIES
        FIXTURES_SETUP cross_${preset} TIMEOUT ${PETCALC_HANG_LIMIT} LABELS cross RESOURCE_LOCK build_${preset})
    endforeach()
  endif()
  set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED "cross_wasm;cross_win" LABELS cross)
endfunction()

# petcalc_cross_test(NAME TARGET [STDIN file] [ARGS arg...]): runs TARGET
# natively and both cross builds of it with the same arguments and input.
function(petcalc_cross_test name target)
  if(CMAKE_CROSSCOMPILING OR NOT PETCALC_BUILD_TESTS OR NOT PETCALC_CROSS_TESTS)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "STDIN" "ARGS")
  add_test(NAME ${name}
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/cross-compare.sh $<TARGET_FILE:${target}> ${target} "${arg_STDIN}" ${arg_ARGS})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${PETCALC_HANG_LIMIT})
  petcalc_cross_requires(${name})
endfunction()
