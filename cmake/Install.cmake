# SPDX-License-Identifier: MIT
# Installs the game where a Linux desktop looks for it (the binary among the games, the menu
# entry, the icons the asset generator made, the software-centre metadata and the manual page):
#   cmake --install <build> [--prefix /usr/local]
# debian/ builds the Debian package from the same rules.
include(GNUInstallDirs)

# The desktop id: the menu entry, the metainfo and the icons are all named after it.
set(PELMORAVAN_APP_ID io.github.pelmoravan.Pelmoravan)
# Debian keeps games in /usr/games (and /usr/local/games), with their manual pages in section 6.
set(PELMORAVAN_INSTALL_GAMESDIR games CACHE STRING "Where the binary goes, under the prefix")

install(TARGETS pelmoravan RUNTIME DESTINATION ${PELMORAVAN_INSTALL_GAMESDIR})
# The menu entry names the binary by its full path, which the prefix decides at install time
# (`--prefix` included): a desktop session's PATH need not hold the games folder.
install(CODE "
  file(READ \"${CMAKE_SOURCE_DIR}/packaging/${PELMORAVAN_APP_ID}.desktop\" entry)
  string(REPLACE \"Exec=pelmoravan \" \"Exec=\${CMAKE_INSTALL_PREFIX}/${PELMORAVAN_INSTALL_GAMESDIR}/pelmoravan \"
         entry \"\${entry}\")
  set(target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
  message(STATUS \"Installing: \${target}/${PELMORAVAN_APP_ID}.desktop\")
  file(MAKE_DIRECTORY \"\${target}\")
  file(WRITE \"\${target}/${PELMORAVAN_APP_ID}.desktop\" \"\${entry}\")
")
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
# How to play, with the pages and screenshots it shows and links to, each where its links expect
# it (the assets' README, which names the assets' licences, in assets/), and the licence.
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelmoravan)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelmoravan/docs
        FILES_MATCHING PATTERN "*.md" PATTERN "*.png")
install(FILES ${CMAKE_SOURCE_DIR}/assets/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelmoravan/assets)

if(PELMORAVAN_TESTS)
  add_test(NAME install.desktop
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/install_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(install.desktop PROPERTIES TIMEOUT 120)
  # The Debian package built from debian/ with dpkg-buildpackage: an optimised build of its own.
  add_test(NAME install.deb COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/deb_test.sh ${CMAKE_SOURCE_DIR})
  set_tests_properties(install.deb PROPERTIES TIMEOUT 1800 RUN_SERIAL TRUE)
  # Every tracked source file names its licence on its first line (tools/spdx.sh adds it).
  add_test(NAME install.spdx COMMAND bash ${CMAKE_SOURCE_DIR}/tools/spdx.sh --check)
endif()
