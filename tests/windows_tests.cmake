# Tests of the Windows build, run by CTest through Wine.
# A stand-in for Apache's httpd.exe, never shipped: tests copy it into their installation.
add_executable(stand_in_httpd tests/support/stand_in_httpd/main.cpp tests/support/stand_in_httpd/syntax_check.cpp
               tests/support/stand_in_httpd/server.cpp)
target_link_libraries(stand_in_httpd PRIVATE velko_core ws2_32)
add_library(velko_test_support STATIC
    tests/support/scripted_dialogs.cpp
    tests/support/temp_installation.cpp
    tests/support/window_fixture.cpp)
target_include_directories(velko_test_support PUBLIC tests/support)
target_compile_definitions(velko_test_support PRIVATE VELKO_DEMO_DIR="Z:${CMAKE_SOURCE_DIR}/demo/xampp")
target_compile_definitions(velko_test_support PUBLIC VELKO_STAND_IN_HTTPD="Z:$<TARGET_FILE:stand_in_httpd>")
add_dependencies(velko_test_support stand_in_httpd)
target_link_libraries(velko_test_support PUBLIC velko_core GTest::gtest ws2_32)

# One test executable of an area: the real window's resources are linked in as in the program.
#   velko_windows_tests(<name> TIMEOUT <seconds> <sources>...)
# Every test of it fails after the time limit, a few times what its slowest test takes, so that a
# hang fails fast and by name.
function(velko_windows_tests name)
    cmake_parse_arguments(PARSE_ARGV 1 TESTS "" TIMEOUT "")
    if(NOT TESTS_TIMEOUT)
        message(FATAL_ERROR "velko_windows_tests(${name}) needs a TIMEOUT fitted to its tests")
    endif()
    add_executable(${name} ${TESTS_UNPARSED_ARGUMENTS} $<TARGET_OBJECTS:velko_resources>)
    target_link_libraries(${name} PRIVATE velko_test_support GTest::gtest_main)
    gtest_discover_tests(${name} TEST_PREFIX "win.${name}." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES TIMEOUT ${TESTS_TIMEOUT})
endfunction()

include(tests/server/windows.cmake)
include(tests/config/windows.cmake)
include(tests/aids/windows.cmake)
include(tests/app/windows.cmake)
include(tests/app/program.cmake)
include(tests/e2e/e2e.cmake)
include(tests/reliability/windows.cmake)
