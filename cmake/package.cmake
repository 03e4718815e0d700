# The installers built from install.cmake's rules by CPack: a Debian package for now, named
# vyr2-sty-tool_VERSION_ARCH.deb. Its library dependencies are read off the programs by
# dpkg-shlibdeps, so installing it with apt pulls in Qt and the image and archive libraries.
set(CPACK_PACKAGE_NAME vyr2-sty-tool)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor and command-line tool for VYR2 style files")
set(CPACK_PACKAGE_DESCRIPTION
    "Opens the .sty style files of VYR2, exports and imports their tiles, sprites, palettes and \
deltas as bitmaps, edits the car records and saves the style file the game expects. vyr2-sty does \
the same from scripts.")
set(CPACK_PACKAGE_CONTACT "vyr2 sty tool developers <vyr2-sty-tool@localhost>")
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
