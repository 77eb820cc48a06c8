# Reliability under Wine: faults of the file system, garbage input and a soak of load-edit-save.
velko_windows_tests(reliability_tests
    tests/reliability/reliability_fixture.cpp
    tests/reliability/garbage_text.cpp
    tests/reliability/fault_injection_test.cpp
    tests/reliability/garbage_input_test.cpp
    tests/reliability/soak_test.cpp)
