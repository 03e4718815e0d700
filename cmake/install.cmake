# What `cmake --install` puts where: both programs, a man page for each and the completion of
# vyr2-sty (made from the programs' own help at build time), and the desktop's entry, MIME type
# and icon. Installers for other systems are built from these same rules (see package.cmake).
include(GNUInstallDirs)

# Installing and packing take the programs as built: CPack's packing from the tests then never
# starts a build in the tree the tests run from.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The programs link the project's libraries statically; a Qt outside the system's folders stays
# found after installing, and no folder of the build tree is searched.
set_target_properties(vyr2-sty vyr2-sty-tool PROPERTIES INSTALL_RPATH_USE_LINK_PATH ON)
install(TARGETS vyr2-sty vyr2-sty-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(VYR2_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
set(VYR2_HELPDOCS ${PROJECT_SOURCE_DIR}/cmake/helpdocs.cmake)
add_custom_command(
    OUTPUT ${VYR2_DOC_DIR}/vyr2-sty.1 ${VYR2_DOC_DIR}/completions/vyr2-sty
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VYR2_DOC_DIR}/completions
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:vyr2-sty> -DNAME=vyr2-sty
            "-DSUMMARY=the command-line tool for VYR2 style files"
            -DMAN=${VYR2_DOC_DIR}/vyr2-sty.1 -DCOMPLETION=${VYR2_DOC_DIR}/completions/vyr2-sty
            "-DSEE_ALSO=vyr2-sty-tool(1)" -P ${VYR2_HELPDOCS}
    DEPENDS vyr2-sty ${VYR2_HELPDOCS}
    COMMENT "Writing the man page and completion of vyr2-sty from its help"
    VERBATIM)
add_custom_command(
    OUTPUT ${VYR2_DOC_DIR}/vyr2-sty-tool.1
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VYR2_DOC_DIR}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:vyr2-sty-tool> -DNAME=vyr2-sty-tool
            "-DSUMMARY=the editor of VYR2 style files" -DMAN=${VYR2_DOC_DIR}/vyr2-sty-tool.1
            "-DSEE_ALSO=vyr2-sty(1)" -P ${VYR2_HELPDOCS}
    DEPENDS vyr2-sty-tool ${VYR2_HELPDOCS}
    COMMENT "Writing the man page of vyr2-sty-tool from its help"
    VERBATIM)
add_custom_target(help_docs ALL
    DEPENDS ${VYR2_DOC_DIR}/vyr2-sty.1 ${VYR2_DOC_DIR}/completions/vyr2-sty ${VYR2_DOC_DIR}/vyr2-sty-tool.1)

install(FILES ${VYR2_DOC_DIR}/vyr2-sty.1 ${VYR2_DOC_DIR}/vyr2-sty-tool.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${VYR2_DOC_DIR}/completions/vyr2-sty DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${PROJECT_SOURCE_DIR}/data/vyr2-sty-tool.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/vyr2-style.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/data/vyr2-sty-tool.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# File managers show .sty files with the same picture.
install(FILES ${PROJECT_SOURCE_DIR}/data/vyr2-sty-tool.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-vyr2-style.svg)
