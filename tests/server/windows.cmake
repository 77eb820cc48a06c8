# Each test takes about a second, the start of the stand-in under Wine included.
velko_windows_tests(server_tests TIMEOUT 20
    tests/server/child_process_test.cpp)
