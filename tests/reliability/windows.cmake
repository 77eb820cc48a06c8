# Reliability under Wine: faults of the file system, garbage input and a soak of load-edit-save.
add_library(reliability_support STATIC
    tests/reliability/reliability_fixture.cpp
    tests/reliability/garbage_text.cpp)
target_link_libraries(reliability_support PUBLIC velko_test_support)

# Each test takes up to a second.
velko_windows_tests(reliability_tests TIMEOUT 15
    tests/reliability/fault_injection_test.cpp
    tests/reliability/garbage_input_test.cpp)
target_link_libraries(reliability_tests PRIVATE reliability_support)

# The soak's thousand rounds take about a minute, so it has a time limit of its own.
velko_windows_tests(soak_tests TIMEOUT 240 tests/reliability/soak_test.cpp)
target_link_libraries(soak_tests PRIVATE reliability_support)

# Saves onto drives that the host mounts: one CTest test runs the script, which runs them all in
# about 2 s.
add_executable(reliability_mounted_tests tests/reliability/mounted_drive_test.cpp $<TARGET_OBJECTS:velko_resources>)
target_link_libraries(reliability_mounted_tests PRIVATE reliability_support GTest::gtest_main)
add_test(NAME win.reliability.MountedDrives
         COMMAND ${CMAKE_SOURCE_DIR}/tests/reliability/mounted_drives.sh
                 $<TARGET_FILE:reliability_mounted_tests> ${CMAKE_SOURCE_DIR}/demo/xampp)
set_tests_properties(win.reliability.MountedDrives PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 30)
