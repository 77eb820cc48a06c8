# The release archive, velko-configurator-<version>-win64.zip: the program, a README for the
# administrator of the Windows machine and the licence, both texts with CR LF for Notepad.
set(VELKO_PACKAGE_TEXTS ${CMAKE_BINARY_DIR}/package-texts)
configure_file(docs/windows-readme.txt ${VELKO_PACKAGE_TEXTS}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(LICENSE ${VELKO_PACKAGE_TEXTS}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

install(TARGETS VelkoConfigurator RUNTIME DESTINATION .)
install(FILES ${VELKO_PACKAGE_TEXTS}/README.txt ${VELKO_PACKAGE_TEXTS}/LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME velko-configurator)
set(CPACK_PACKAGE_VENDOR "Velko Developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME velko-configurator-${PROJECT_VERSION}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${VELKO_PACKAGE_TEXTS}/LICENSE.txt)
include(CPack)
