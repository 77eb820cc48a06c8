# Benchmarks of start-up, load and save: programs that print figures, run by scripts/benchmark.
# They are no tests.
add_executable(bench_minimal_window WIN32 bench/minimal_window.cpp)
add_executable(bench_library_window WIN32 bench/minimal_window.cpp $<TARGET_OBJECTS:velko_resources>)
target_compile_definitions(bench_library_window PRIVATE VELKO_BENCH_LIBRARIES)
target_link_libraries(bench_library_window PRIVATE comctl32 comdlg32 oleacc oleaut32 ole32)
add_executable(bench_startup bench/startup_timer.cpp)
add_executable(bench_plain_io bench/plain_io.cpp)
foreach(program bench_minimal_window bench_library_window bench_startup bench_plain_io)
    target_link_options(${program} PRIVATE ${STATIC_RUNTIME})
endforeach()

# The real window in-process, with the program's resources as in the program.
add_executable(bench_load_save bench/load_save.cpp $<TARGET_OBJECTS:velko_resources>)
target_link_libraries(bench_load_save PRIVATE velko_core psapi)

# The check of a new port before a save, free and held.
add_executable(bench_port_check bench/port_check.cpp)
target_link_libraries(bench_port_check PRIVATE velko_core)
