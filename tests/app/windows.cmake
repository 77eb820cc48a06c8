velko_windows_tests(window_tests
    tests/app/window_layout_test.cpp)
