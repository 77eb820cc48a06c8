# libFuzzer targets for the text rules, each with a short run in CTest on a copy of its corpus.

set(FUZZ_TARGETS
    line_splitting
    key_matching
    value_rule
    versions
    preset_lines
    apache_edit
    settings_round_trip)
set(FUZZ_RUNS 20000 CACHE STRING "Inputs each fuzz target tries in its CTest run")

# The rules again, with the coverage feedback that guides the fuzzer.
get_target_property(rule_sources velko_rules SOURCES)
add_library(velko_rules_fuzzing STATIC ${rule_sources})
target_include_directories(velko_rules_fuzzing PUBLIC src)
target_compile_options(velko_rules_fuzzing PUBLIC ${SANITIZERS} -fsanitize=fuzzer-no-link)

foreach(target IN LISTS FUZZ_TARGETS)
    add_executable(fuzz_${target} fuzz/${target}_fuzz.cpp)
    target_link_libraries(fuzz_${target} PRIVATE velko_rules_fuzzing)
    target_link_options(fuzz_${target} PRIVATE ${SANITIZERS} -fsanitize=fuzzer)
    add_test(NAME native.fuzz.${target}
        COMMAND ${CMAKE_COMMAND}
            -DFUZZER=$<TARGET_FILE:fuzz_${target}>
            -DCORPUS=${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${target}
            -DWORK=${CMAKE_CURRENT_BINARY_DIR}/fuzz-work/${target}
            "-DFUZZ_OPTIONS=-runs=${FUZZ_RUNS};-seed=1"
            -P ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/run_fuzzer.cmake)
    # A short run takes up to 6 s.
    set_tests_properties(native.fuzz.${target} PROPERTIES TIMEOUT 30)
endforeach()
