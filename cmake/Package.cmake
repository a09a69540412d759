# What an installed Kalvo carries besides the program and its era files: the desktop entry,
# the icons, the software-centre data, the manual page and the licence; and the .deb made
# from these install rules (scripts/package).
set(KALVO_ID io.github.kalvo.kalvo)
set(KALVO_FULL_DATADIR ${CMAKE_INSTALL_FULL_DATADIR}/kalvo)
# The size of data/screenshot.png, which the software-centre data states.
set(KALVO_SCREENSHOT_WIDTH 479)
set(KALVO_SCREENSHOT_HEIGHT 222)

configure_file(data/${KALVO_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/${KALVO_ID}.metainfo.xml @ONLY)
configure_file(data/man/kalvo.1.in ${CMAKE_BINARY_DIR}/man/kalvo.utf8.1 @ONLY)

# The installed page is plain ASCII (preconv writes the Japanese as groff escapes), so every
# man and groff reads it whatever the locale; gzip -n keeps the package reproducible.
find_program(KALVO_PRECONV preconv)
if(KALVO_PRECONV)
  set(page_command ${KALVO_PRECONV} -e UTF-8 ${CMAKE_BINARY_DIR}/man/kalvo.utf8.1)
else()
  set(page_command ${CMAKE_COMMAND} -E cat ${CMAKE_BINARY_DIR}/man/kalvo.utf8.1)
endif()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/kalvo.1 ${CMAKE_BINARY_DIR}/man/kalvo.1.gz
  COMMAND ${page_command} > ${CMAKE_BINARY_DIR}/man/kalvo.1
  COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/man/kalvo.1 > ${CMAKE_BINARY_DIR}/man/kalvo.1.gz
  DEPENDS ${CMAKE_BINARY_DIR}/man/kalvo.utf8.1
  VERBATIM)
add_custom_target(kalvo_man ALL DEPENDS ${CMAKE_BINARY_DIR}/man/kalvo.1.gz)

install(FILES data/${KALVO_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/${KALVO_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY data/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_BINARY_DIR}/man/kalvo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kalvo RENAME copyright)

# ---- the Debian package ------------------------------------------------------
set(KALVO_MAINTAINER "The Kalvo developers <kalvo@example.org>" CACHE STRING
    "Maintainer field of the .deb")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kalvo developers")
set(CPACK_PACKAGE_CONTACT ${KALVO_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "date calculator for the Japanese calendar (和暦)")
# The long description; CPack puts the summary above it and indents every line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kalvo shows two dates, each as a Western date with its weekday and as a
Japanese era name (年号) with its era year, the span between them in days
and as years, months and days (an age), and the moon age of the chosen date
drawn as a picture of the moon's phase. Eras from Keicho to Heisei are built
in; for the period of the Northern and Southern Courts (南北朝) the era table
of either court is read from a file. A list of named dates (何の日？) is kept
in kalvoe.dat in the folder Kalvo is started from.

The window and its messages are in Japanese; its files are Shift_JIS.
西暦と年号の換算、二つの日付の間の日数・年齢の計算、月齢の表示をします。")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KALVO_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/kalvo/kalvo")
# The libraries the program links, as dpkg-shlibdeps finds them, and what it needs at run time
# without linking: Qt's platform plugins (the X11 and Wayland windows), the two faces the
# layout is measured for, and Qt's own texts in Japanese.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-ipafont-gothic, fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
