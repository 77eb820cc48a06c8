# Each test takes up to 2 s.
velko_windows_tests(aids_tests TIMEOUT 15
    tests/aids/preset_menu_test.cpp
    tests/aids/browse_for_exe_test.cpp)
