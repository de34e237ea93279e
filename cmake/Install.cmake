# Installs the game where a Linux desktop looks for it (the binary, the menu entry, the icons the
# asset generator made, the software-centre metadata and the manual page) and packs the same files as a .deb:
#   cmake --install <build> [--prefix /usr/local]
#   cd <build> && cpack -G DEB
include(GNUInstallDirs)

# The desktop id: the menu entry, the metainfo and the icons are all named after it.
set(PELMORAVAN_APP_ID io.github.pelmoravan.Pelmoravan)

install(TARGETS pelmoravan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${PELMORAVAN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${PELMORAVAN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        FILES_MATCHING PATTERN "${PELMORAVAN_APP_ID}.png")
# The manual page, its version filled in and compressed as Debian keeps manual pages.
configure_file(${CMAKE_SOURCE_DIR}/packaging/pelmoravan.6 ${CMAKE_BINARY_DIR}/pelmoravan.6 @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/pelmoravan.6.gz
                   COMMAND sh -c "gzip -9nc pelmoravan.6 > pelmoravan.6.gz"
                   DEPENDS ${CMAKE_BINARY_DIR}/pelmoravan.6
                   WORKING_DIRECTORY ${CMAKE_BINARY_DIR} VERBATIM)
add_custom_target(pelmoravan_manual ALL DEPENDS ${CMAKE_BINARY_DIR}/pelmoravan.6.gz)
install(FILES ${CMAKE_BINARY_DIR}/pelmoravan.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# How to play, and (in the assets' README) the licences of the emoji art the pictures come from.
# The README sends the player to docs/ for the files' rules and the options, so its pages go
# beside it where its links expect them.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelmoravan)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelmoravan/docs
        FILES_MATCHING PATTERN "*.md")
install(FILES ${CMAKE_SOURCE_DIR}/assets/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelmoravan
        RENAME ASSETS.md)

# ---- Debian package ---------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmoravan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pelmoravan developers")
set(CPACK_PACKAGE_CONTACT "Pelmoravan developers <pelmoravan@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tile-matching puzzle: link pairs of pictures and clear the board")
# Debian wants the long description in lines under 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Click two tiles that show the same picture: when a path of at most three"
  "straight lines through empty cells joins them, both vanish. Three"
  "difficulties of ten levels each, a time limit, tiles that shift after every"
  "pair, hints, shuffles, bonuses, auto-play and a list of the ten best scores."
  "The menus and messages are in Chinese; --language english shows them in"
  "English.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from dpkg-shlibdeps. The Chinese font is a dependency because every menu and
# message is Chinese and would show as empty boxes without it; Qt's own translations give the
# buttons of its dialogs the player's language, next to the Chinese texts. Without the soundfont
# only the music is silent, so it is a recommendation.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont")
include(CPack)

if(PELMORAVAN_TESTS)
  add_test(NAME install.desktop
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/install_test.sh ${CMAKE_BINARY_DIR})
  add_test(NAME install.deb
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/deb_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(install.desktop install.deb PROPERTIES TIMEOUT 120)
  # Every tracked source file names its licence on its first line (tools/spdx.sh adds it).
  add_test(NAME install.spdx COMMAND bash ${CMAKE_SOURCE_DIR}/tools/spdx.sh --check)
endif()
