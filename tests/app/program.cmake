# The program as Windows and its user meet it: the built file's manifest, version and icon, its
# keys, the input box, the names screen readers hear and the layout at the screen's DPI.
# Each test takes up to 2 s.
velko_windows_tests(program_tests TIMEOUT 15
    tests/app/program_file_test.cpp
    tests/app/input_box_keys_test.cpp
    tests/app/access_keys_test.cpp
    tests/app/accessible_names_test.cpp
    tests/app/screen_scale_test.cpp
    tests/support/key_strokes.cpp)
target_compile_definitions(program_tests PRIVATE
    VELKO_PROGRAM_FILE="Z:$<TARGET_FILE:VelkoConfigurator>"
    VELKO_MANIFEST_FILE="Z:${VELKO_MANIFEST}"
    VELKO_VERSION="${PROJECT_VERSION}")
target_link_libraries(program_tests PRIVATE version oleacc oleaut32)
add_dependencies(program_tests VelkoConfigurator)

# The layout tests again on a screen of 144 DPI, in a Wine prefix of its own: about 5 s, and 20 s
# the first time, when the prefix is made.
add_test(NAME win.program_tests.ScreenScale.At144Dpi
    COMMAND ${CMAKE_SOURCE_DIR}/tests/app/at-screen-dpi 144 ${CMAKE_BINARY_DIR}/dpi144-prefix
            $<TARGET_FILE:program_tests> --gtest_filter=ScreenScale.*)
set_tests_properties(win.program_tests.ScreenScale.At144Dpi PROPERTIES TIMEOUT 120)

# The program file itself, read on the host: a few hundredths of a second each.
add_test(NAME host.program.ImportsOnlyDllsThatShipWithWindows
    COMMAND ${CMAKE_SOURCE_DIR}/tests/app/imports-only-system-dlls $<TARGET_FILE:VelkoConfigurator>)
set_tests_properties(host.program.ImportsOnlyDllsThatShipWithWindows PROPERTIES TIMEOUT 10)
if(CMAKE_BUILD_TYPE STREQUAL "Release")
    add_test(NAME host.program.ReleaseBuildIsStripped
        COMMAND ${CMAKE_SOURCE_DIR}/tests/app/has-no-symbols $<TARGET_FILE:VelkoConfigurator>)
    set_tests_properties(host.program.ReleaseBuildIsStripped PROPERTIES TIMEOUT 10)
endif()
