velko_windows_tests(config_tests
    tests/config/mod_file_test.cpp
    tests/config/installation_test.cpp
    tests/config/load_test.cpp
    tests/config/save_test.cpp
    tests/config/save_faults_test.cpp)
