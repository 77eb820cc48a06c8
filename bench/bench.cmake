# Benchmarks of start-up, load and save: programs that print figures, run by scripts/benchmark.
# They are no tests.
add_executable(bench_minimal_window WIN32 bench/minimal_window.cpp)
add_executable(bench_startup bench/startup_timer.cpp)
add_executable(bench_plain_io bench/plain_io.cpp)
foreach(program bench_minimal_window bench_startup bench_plain_io)
    target_link_options(${program} PRIVATE ${STATIC_RUNTIME})
endforeach()

# The configurator's window built by the configurator's own code, with its resources, and nothing
# loaded into it: the limit of start-up for a program with this window.
add_executable(bench_controls_window WIN32 bench/controls_window.cpp $<TARGET_OBJECTS:velko_resources>)
target_link_libraries(bench_controls_window PRIVATE velko_core)
target_link_options(bench_controls_window PRIVATE $<$<CONFIG:Release>:-s>)

# The real window in-process, with the program's resources as in the program.
add_executable(bench_load_save bench/load_save.cpp $<TARGET_OBJECTS:velko_resources>)
target_link_libraries(bench_load_save PRIVATE velko_core psapi)

# The check of a new port before a save, free and held.
add_executable(bench_port_check bench/port_check.cpp)
target_link_libraries(bench_port_check PRIVATE velko_core ws2_32)
