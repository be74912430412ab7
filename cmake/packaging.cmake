# Install rules and CPack: a Debian package of the Linux build, a zip of the Windows build.
# Both take their version from the one project(Quenwrite VERSION ...) line.

set(CPACK_PACKAGE_NAME quenwrite)
set(CPACK_PACKAGE_VENDOR "The Quenwrite authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small, fast plain-text editor")
set(CPACK_PACKAGE_DESCRIPTION "Quenwrite edits one plain-text document in one window:
open, save, find a string and choose the font. It keeps its font choice in
settings.ini in the current folder.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)

if(WIN32)
    # The zip is for people who double-click files in Explorer: text files get CR LF.
    configure_file(resources/readme.txt.in README.txt @ONLY NEWLINE_STYLE WIN32)
    configure_file(LICENSE LICENSE.txt @ONLY NEWLINE_STYLE WIN32)
    install(TARGETS quenwrite RUNTIME DESTINATION .)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt
        DESTINATION .)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME win32)
else()
    include(GNUInstallDirs)
    set(docDir ${CMAKE_INSTALL_DATADIR}/doc/quenwrite)
    configure_file(resources/readme.txt.in README @ONLY)
    install(TARGETS quenwrite RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES resources/quenwrite.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES resources/quenwrite.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
    # Debian keeps a package's licence under this name.
    install(FILES LICENSE DESTINATION ${docDir} RENAME copyright)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README DESTINATION ${docDir})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS resources/quenwrite.1)
    # -n keeps the build time out of the file, so every build packs the same bytes.
    execute_process(COMMAND gzip -9n
        INPUT_FILE ${CMAKE_CURRENT_SOURCE_DIR}/resources/quenwrite.1
        OUTPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/quenwrite.1.gz COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quenwrite.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Quenwrite authors <quenwrite@example.org>")
    set(CPACK_DEBIAN_PACKAGE_SECTION editors)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    # dpkg-shlibdeps (dpkg-dev) finds the packages of the libraries the binary links: the Qt 6
    # libraries, libstdc++ and libc. The fonts are looked up by name at run time, so no tool sees
    # that the metric-compatible faces are needed.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
endif()

include(CPack)
