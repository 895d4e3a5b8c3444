# Installing Tavrix where a Linux desktop finds it, and the Debian package (cpack -G DEB).
# Included at the end of the root CMakeLists.txt, when every target exists.
#
#   cmake --install build [--prefix /usr/local]     # bin/tavrix (the launcher), bin/Tavrix,
#                                                   # bin/tavrix-newdb, manual pages, the desktop
#                                                   # entry, AppStream data and the icons
#   (cd build && cpack -G DEB)                      # build/tavrix_<version>_<arch>.deb
include(GNUInstallDirs)

foreach(program Tavrix tavrix tavrix-newdb)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/resources/Tavrix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/org.example.tavrix.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 32 48 64 128)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/images/tavrix-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tavrix.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/images/tavrix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages and the changelog, compressed as Debian wants them (gzip -9n: no name, no time,
# so that two builds give the same bytes).
set(compressed)
foreach(page tavrix Tavrix tavrix-newdb)
    configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1 ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
    list(APPEND compressed ${PROJECT_BINARY_DIR}/man/${page}.1)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog ${PROJECT_BINARY_DIR}/doc/changelog COPYONLY)
list(APPEND compressed ${PROJECT_BINARY_DIR}/doc/changelog)
set(compressed_outputs)
foreach(file ${compressed})
    add_custom_command(OUTPUT ${file}.gz COMMAND gzip -9nkf ${file} DEPENDS ${file} VERBATIM)
    list(APPEND compressed_outputs ${file}.gz)
endforeach()
add_custom_target(tavrix_docs ALL DEPENDS ${compressed_outputs})
foreach(page tavrix Tavrix tavrix-newdb)
    install(FILES ${PROJECT_BINARY_DIR}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The changelog's newest entry names the version being built; a version raised without an
# entry would give a package whose changelog speaks of an older one.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/debian/changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^tavrix \\(${PROJECT_VERSION}\\) ")
    message(WARNING "resources/debian/changelog has no entry for version ${PROJECT_VERSION} at the top")
endif()

# The copyright file: the program's own statement, then the embedded fonts' copyright file as
# it stands.
file(READ ${PROJECT_SOURCE_DIR}/resources/debian/copyright copyright_text)
file(READ ${PROJECT_SOURCE_DIR}/resources/fonts/LICENSE fonts_copyright)
file(WRITE ${PROJECT_BINARY_DIR}/doc/copyright "${copyright_text}${fonts_copyright}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/resources/debian/copyright
             ${PROJECT_SOURCE_DIR}/resources/debian/changelog
             ${PROJECT_SOURCE_DIR}/resources/fonts/LICENSE)
install(FILES ${PROJECT_BINARY_DIR}/doc/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavrix)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavrix")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "encounter tracker for the game master of a tabletop RPG")
# The lines below the summary, as the package shows them (at most 80 characters).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tavrix keeps the party and the monsters of an encounter in one small database
file and gives one window to apply damage, healing and temporary hit points,
spend healing surges, count action points and powers, toggle conditions, run
rests, keep coins and inventory, order the roster by initiative and roll dice.
.
Start it from the desktop menu or with the command tavrix; each campaign keeps
its party in a folder of its own.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON) # the version section is allocated: stripping keeps it
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tavrix maintainers <tavrix@example.org>")
# Programs in /usr/bin with manual pages in section 1: a tool of the game master's, not a game.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries' versions come from the binaries themselves (dpkg-shlibdeps); the platform
# plugin that Qt loads at run time is named here, at the version built against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET Qt6::Widgets)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins (>= ${Qt6_VERSION_MAJOR}.${Qt6_VERSION_MINOR})")
endif()
include(CPack)
