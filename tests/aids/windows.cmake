velko_windows_tests(aids_tests
    tests/aids/preset_menu_test.cpp
    tests/aids/browse_for_exe_test.cpp)
