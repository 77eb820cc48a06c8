# GoogleTest: the package installed for the target where there is one (the native build), or else
# built here from GoogleTest's sources (the cross-build: no distribution ships it for mingw-w64).
# Either way the tests link GTest::gtest and GTest::gtest_main.
find_package(GTest CONFIG QUIET)
if(GTest_FOUND)
    return()
endif()

find_path(GOOGLETEST_SOURCE_DIR googletest/include/gtest/gtest.h
          PATHS /usr/src/googletest
          NO_CMAKE_FIND_ROOT_PATH
          DOC "GoogleTest's sources, built when no GoogleTest is installed for the target")
if(NOT GOOGLETEST_SOURCE_DIR)
    message(FATAL_ERROR "GoogleTest is missing: install it for the target (Debian: libgtest-dev), or its "
                        "sources (Debian: googletest), or set GOOGLETEST_SOURCE_DIR to a GoogleTest source tree")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
