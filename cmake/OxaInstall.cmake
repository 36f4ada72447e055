# cmake --install: the staged program under <prefix>/lib/oxa-tools (it finds its
# data beside the executable), a command oxa-tools in <prefix>/bin, and a
# desktop entry with the program's icon, so that it appears in the desktop's menu.
include(GNUInstallDirs)

set(OXA_INSTALL_HOME ${CMAKE_INSTALL_LIBDIR}/oxa-tools)

install(DIRECTORY ${OXA_STAGE_DIR}/ DESTINATION ${OXA_INSTALL_HOME} USE_SOURCE_PERMISSIONS)

# The command on the PATH is a link to the executable; the program resolves the
# link (/proc/self/exe) and so still finds its install folder.
install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(CREATE_LINK \"../${OXA_INSTALL_HOME}/oxa-tools\" \"\${bin}/oxa-tools\" SYMBOLIC)
    message(STATUS \"Installing: \${bin}/oxa-tools\")
")

install(FILES ${PROJECT_SOURCE_DIR}/packaging/oxa-tools.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/art/icon_256.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME oxa-tools.png)
install(FILES ${CMAKE_BINARY_DIR}/art/icon_48.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME oxa-tools.png)
