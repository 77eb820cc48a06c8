# Each test takes under a second.
velko_windows_tests(window_tests TIMEOUT 15
    tests/app/window_layout_test.cpp
    tests/app/window_shell_test.cpp)
