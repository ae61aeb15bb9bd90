# Desktop integration and the Debian package. The program is installed by
# src/app, hkftool by src/tool, both to bin, which holds nothing else; the
# shipped settings file goes to share/hmk725config (src/app).

install(FILES ${CMAKE_CURRENT_LIST_DIR}/hmk725config.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The file type of .hkf images, which the desktop entry opens.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/hmk725config.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/hmk725config.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/hmk725config.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "hmk725config")
set(CPACK_PACKAGE_VENDOR "HMK725Config developers")
set(CPACK_PACKAGE_CONTACT "HMK725Config developers <hmk725config@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Configuration-file generator for the HMK725 height controller")
set(CPACK_PACKAGE_DESCRIPTION
    "HMK725Config prepares the 47 device parameters and the 192 x 32 boot screen of the\n\
HMK725 stand-alone height controller and saves them as a .hkf configuration image.\n\
hkftool checks, shows, compares and builds such images on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
# Qt libraries from the binaries themselves; what is loaded at run time goes
# by name: the CJK fonts the title glyphs are drawn with and Qt's Chinese
# translations for the buttons of its dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming, fonts-wqy-zenhei, qt6-translations-l10n")
# Without dpkg-shlibdeps (dpkg-dev) CPack would leave the Qt libraries out of
# Depends with no more than a note; these scripts stop packaging instead.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackChecks.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/CheckDepends.cmake)

include(CPack)
