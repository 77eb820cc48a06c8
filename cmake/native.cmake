# Native build: the text rules and their tests under AddressSanitizer and UBSan, and fuzzers.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The native build needs clang for its sanitizers and fuzz targets, not "
                        "${CMAKE_CXX_COMPILER_ID}: configure it with -DCMAKE_CXX_COMPILER=clang++")
endif()
set(SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(velko_rules PRIVATE ${SANITIZERS})
target_link_options(velko_rules PUBLIC ${SANITIZERS})

add_executable(rules_tests
    tests/config/text_lines_test.cpp
    tests/config/value_rule_test.cpp
    tests/config/versions_test.cpp
    tests/config/settings_lines_test.cpp
    tests/config/apache_config_test.cpp
    tests/config/apache_edit_test.cpp
    tests/config/port_holder_test.cpp
    tests/aids/preset_lines_test.cpp)
target_compile_options(rules_tests PRIVATE ${SANITIZERS})
target_link_libraries(rules_tests PRIVATE velko_rules GTest::gtest_main)
# Each test takes a few hundredths of a second.
gtest_discover_tests(rules_tests TEST_PREFIX "native." PROPERTIES TIMEOUT 10)

include(fuzz/fuzz.cmake)
