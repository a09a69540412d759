# What an installed Kalvo carries besides the program and its era files: the desktop entry,
# the icons, the software-centre data, the manual page and the licence. The Debian package
# (debian/, scripts/package) installs through these rules too.
set(KALVO_ID io.github.kalvo.kalvo)
set(KALVO_FULL_DATADIR ${CMAKE_INSTALL_FULL_DATADIR}/kalvo)
# The size of data/screenshot.png, which the software-centre data states.
set(KALVO_SCREENSHOT_WIDTH 479)
set(KALVO_SCREENSHOT_HEIGHT 222)

configure_file(data/${KALVO_ID}.metainfo.xml.in ${PROJECT_BINARY_DIR}/${KALVO_ID}.metainfo.xml @ONLY)
configure_file(data/man/kalvo.1.in ${PROJECT_BINARY_DIR}/man/kalvo.utf8.1 @ONLY)

# The installed page is plain ASCII (preconv writes the Japanese as groff escapes), so every
# man and groff reads it whatever the locale. preconv -r writes no .lf request, which would
# name the build folder, and gzip -n no time stamp: the page is the same from any build.
find_program(KALVO_PRECONV preconv)
if(KALVO_PRECONV)
  set(page_command ${KALVO_PRECONV} -r -e UTF-8 ${PROJECT_BINARY_DIR}/man/kalvo.utf8.1)
else()
  set(page_command ${CMAKE_COMMAND} -E cat ${PROJECT_BINARY_DIR}/man/kalvo.utf8.1)
endif()
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/kalvo.1 ${PROJECT_BINARY_DIR}/man/kalvo.1.gz
  COMMAND ${page_command} > ${PROJECT_BINARY_DIR}/man/kalvo.1
  COMMAND gzip -9 -n -c ${PROJECT_BINARY_DIR}/man/kalvo.1 > ${PROJECT_BINARY_DIR}/man/kalvo.1.gz
  DEPENDS ${PROJECT_BINARY_DIR}/man/kalvo.utf8.1
  VERBATIM)
add_custom_target(kalvo_man ALL DEPENDS ${PROJECT_BINARY_DIR}/man/kalvo.1.gz)

install(FILES data/${KALVO_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/${KALVO_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY data/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_BINARY_DIR}/man/kalvo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kalvo RENAME copyright)
