# End-to-end tests: the real program started under Wine and used through its windows. They need
# the screen, the keyboard and the mouse to themselves, and the program reads the one pointer
# file c:\xampp.txt; so CTest runs each of them alone. Each takes up to 6 s, but the first to start
# Apache as a service in a new prefix waits up to 80 s for Wine's service manager.
add_executable(e2e_tests
    tests/e2e/desktop.cpp
    tests/e2e/user_input.cpp
    tests/e2e/running_program.cpp
    tests/e2e/end_to_end_fixture.cpp
    tests/e2e/window_shell_test.cpp
    tests/e2e/start_up_test.cpp
    tests/e2e/saving_test.cpp)
target_include_directories(e2e_tests PRIVATE tests/e2e)
target_compile_definitions(e2e_tests PRIVATE VELKO_PROGRAM="Z:$<TARGET_FILE:VelkoConfigurator>")
target_link_libraries(e2e_tests PRIVATE velko_test_support GTest::gtest_main)
add_dependencies(e2e_tests VelkoConfigurator)
gtest_discover_tests(e2e_tests TEST_PREFIX "win.e2e." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                     PROPERTIES RUN_SERIAL TRUE TIMEOUT 100)
