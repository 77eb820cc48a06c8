velko_windows_tests(window_tests
    tests/app/window_layout_test.cpp
    tests/app/window_shell_test.cpp)
