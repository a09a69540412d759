# What an installed Kalvo carries besides the program and its era files: the desktop entry,
# the icons, the software-centre data, the manual page and the licence. The Debian package
# (debian/, scripts/package) installs through these rules too.
set(KALVO_ID io.github.kalvo.kalvo)
set(KALVO_FULL_DATADIR ${CMAKE_INSTALL_FULL_DATADIR}/kalvo)
# The size of data/screenshot.png, which the software-centre data states.
set(KALVO_SCREENSHOT_WIDTH 479)
set(KALVO_SCREENSHOT_HEIGHT 222)

configure_file(data/${KALVO_ID}.metainfo.xml.in ${PROJECT_BINARY_DIR}/${KALVO_ID}.metainfo.xml @ONLY)

# The manual pages, kalvo(1) and kalvo-date(1), in English and in Japanese; each is built as
# man/[ja/]NAME.1 and gzipped beside it. The English pages are installed as plain ASCII
# (preconv writes their few Japanese words as groff escapes), so every man and groff reads
# them whatever the locale; preconv -r writes no .lf request, which would name the build
# folder. The Japanese pages stay UTF-8, as Debian keeps pages under man/ja, so that lexgrog
# reads their 名前 section, with the break points groff needs to fill Japanese lines
# (cmake/japanese_man.pl). gzip -n writes no time stamp: a page is the same from any build.
find_program(KALVO_PRECONV preconv)
find_program(KALVO_PERL perl REQUIRED)
set(KALVO_MAN_PAGES "")
foreach(page kalvo kalvo-date ja/kalvo ja/kalvo-date)
  set(utf8 ${PROJECT_BINARY_DIR}/man/${page}.utf8.1)
  set(out ${PROJECT_BINARY_DIR}/man/${page}.1)
  configure_file(${PROJECT_SOURCE_DIR}/data/man/${page}.1.in ${utf8} @ONLY)
  if(page MATCHES "^ja/")
    set(page_command ${KALVO_PERL} ${PROJECT_SOURCE_DIR}/cmake/japanese_man.pl < ${utf8})
    set(tool ${PROJECT_SOURCE_DIR}/cmake/japanese_man.pl)
  elseif(KALVO_PRECONV)
    set(page_command ${KALVO_PRECONV} -r -e UTF-8 ${utf8})
    set(tool "")
  else()
    set(page_command ${CMAKE_COMMAND} -E cat ${utf8})
    set(tool "")
  endif()
  add_custom_command(OUTPUT ${out} ${out}.gz
    COMMAND ${page_command} > ${out}
    COMMAND gzip -9 -n -c ${out} > ${out}.gz
    DEPENDS ${utf8} ${tool}
    VERBATIM)
  list(APPEND KALVO_MAN_PAGES ${out}.gz)
endforeach()
add_custom_target(kalvo_man ALL DEPENDS ${KALVO_MAN_PAGES})

install(FILES data/${KALVO_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/${KALVO_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY data/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_BINARY_DIR}/man/kalvo.1.gz ${PROJECT_BINARY_DIR}/man/kalvo-date.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/man/ja/kalvo.1.gz ${PROJECT_BINARY_DIR}/man/ja/kalvo-date.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
install(FILES data/bash-completion/kalvo-date DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kalvo RENAME copyright)
