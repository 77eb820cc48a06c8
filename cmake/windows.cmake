# Windows build: the statically linked 64-bit program and the tests that need Win32, run by
# CTest through Wine.
add_compile_definitions(WINVER=0x0A00 _WIN32_WINNT=0x0A00 NOMINMAX WIN32_LEAN_AND_MEAN)
# The compiler's runtimes are linked in, so that no DLL of the compiler's need lie beside the program.
if(MINGW)
    set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
endif()
# CTest runs the tests through Wine.
find_program(WINE_PROGRAM wine REQUIRED)

# The window and everything it runs, less the program's entry point: the tests link it too.
add_library(velko_core STATIC
    src/win/win_error.cpp
    src/win/file_io.cpp
    src/win/system_library.cpp
    src/win/com_apartment.cpp
    src/win/socket_layer.cpp
    src/win/program_paths.cpp
    src/server/server_progress.cpp
    src/server/http_probe.cpp
    src/server/apache_service.cpp
    src/server/apache_processes.cpp
    src/server/apache_restart.cpp
    src/win/held_folder.cpp
    src/server/child_process.cpp
    src/server/installation_apache.cpp
    src/server/apache_check.cpp
    src/config/mod_file.cpp
    src/config/config_files_on_disk.cpp
    src/config/replacement_file.cpp
    src/config/installation.cpp
    src/config/load_sequence.cpp
    src/config/port_check.cpp
    src/config/save_sequence.cpp
    src/config/restart_on_save.cpp
    src/aids/popup_menus.cpp
    src/aids/browse_for_exe.cpp
    src/app/layout.cpp
    src/app/window_build.cpp
    src/app/accessible_names.cpp
    src/app/frm_velko.cpp
    src/app/frm_velko_view.cpp
    src/app/frm_velko_keys.cpp
    src/app/input_box.cpp
    src/app/desktop_dialogs.cpp)
# The window imports only what it needs to be shown; the picker's and the screen readers'
# libraries are loaded when first needed (SystemLibrary).
target_link_libraries(velko_core PUBLIC velko_rules comctl32 gdi32 user32 kernel32)
target_link_options(velko_core PUBLIC ${STATIC_RUNTIME})

# Resources: version numbers from the project's one version.
set(VELKO_APP_DIR ${CMAKE_SOURCE_DIR}/src/app)
set(VELKO_VERSION_QUAD ${PROJECT_VERSION}.0)
string(REPLACE "." "," VELKO_VERSION_COMMAS ${VELKO_VERSION_QUAD})
set(VELKO_MANIFEST ${CMAKE_BINARY_DIR}/velko.manifest)
configure_file(src/app/velko.manifest ${VELKO_MANIFEST} @ONLY)
configure_file(src/app/velko.rc.in ${CMAKE_BINARY_DIR}/velko.rc @ONLY)
enable_language(RC)
add_library(velko_resources OBJECT ${CMAKE_BINARY_DIR}/velko.rc)
target_include_directories(velko_resources PRIVATE src/app)
set_source_files_properties(${CMAKE_BINARY_DIR}/velko.rc PROPERTIES
    OBJECT_DEPENDS "${VELKO_APP_DIR}/velko.ico;${VELKO_MANIFEST};${VELKO_APP_DIR}/resource.h")

add_executable(VelkoConfigurator WIN32 src/app/main.cpp $<TARGET_OBJECTS:velko_resources>)
target_link_libraries(VelkoConfigurator PRIVATE velko_core)
if(MINGW)
    target_link_options(VelkoConfigurator PRIVATE $<$<CONFIG:Release>:-s>)
endif()

include(cmake/packaging.cmake)
include(tests/windows_tests.cmake)
include(bench/bench.cmake)
