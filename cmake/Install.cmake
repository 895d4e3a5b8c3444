# Installing Tavrix where a Linux desktop finds it, and the Debian package (cpack -G DEB).
# Included at the end of the root CMakeLists.txt, when every target exists.
#
#   cmake --install build [--prefix /usr/local]     # bin/Tavrix, bin/tavrix-newdb, the desktop
#                                                   # entry and the icon
#   (cd build && cpack -G DEB)                      # build/tavrix_<version>_<arch>.deb
include(GNUInstallDirs)

if(TARGET Tavrix)
    install(TARGETS Tavrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET tavrix-newdb)
    install(TARGETS tavrix-newdb RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/resources/Tavrix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 32 48 64 128)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/images/tavrix-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tavrix.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/images/tavrix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavrix")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Encounter tracker for the game master of a tabletop role-playing game")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavrix keeps the party and the monsters of an encounter in one small database file and \
gives one window to apply damage, healing and temporary hit points, spend healing surges, count \
action points and powers, toggle conditions, run rests, keep coins and inventory, order the \
roster by initiative and roll dice.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON) # the version section is allocated: stripping keeps it
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tavrix maintainers <tavrix@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.2), libqt6gui6 (>= 6.2), libqt6widgets6 (>= 6.2), qt6-qpa-plugins (>= 6.2), libsqlite3-0 (>= 3.20), libc6, libstdc++6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
include(CPack)
