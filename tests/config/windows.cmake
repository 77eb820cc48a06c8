# Each test takes up to 3.5 s (the rewrite of a long Apache configuration).
velko_windows_tests(config_tests TIMEOUT 20
    tests/config/mod_file_test.cpp
    tests/config/installation_test.cpp
    tests/config/load_test.cpp
    tests/config/save_test.cpp
    tests/config/save_faults_test.cpp)
