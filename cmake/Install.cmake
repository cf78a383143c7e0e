# cmake --install: the programs in bin/, read-only data in share/orvella/
# (found from the executable as ../share/orvella), never in a program folder.
include(GNUInstallDirs)
set(ORVELLA_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/orvella)

install(TARGETS orvella orvella-printer-sim orvella-netsend RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons/ DESTINATION ${ORVELLA_INSTALL_DATADIR}/icons
  FILES_MATCHING PATTERN "*.png")

# The service (systemd unit, its user and state folder) and the desktop
# entries with the icon. The unit names /usr/bin/orvella: the package
# installs with the prefix /usr.
set(ORVELLA_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${ORVELLA_PACKAGING}/orvella.service DESTINATION lib/systemd/system)
install(FILES ${ORVELLA_PACKAGING}/orvella.sysusers DESTINATION lib/sysusers.d RENAME orvella.conf)
install(FILES ${ORVELLA_PACKAGING}/orvella.tmpfiles DESTINATION lib/tmpfiles.d RENAME orvella.conf)
install(FILES ${ORVELLA_PACKAGING}/orvella.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Desktops look for autostart entries in /etc/xdg whatever the prefix.
install(FILES ${ORVELLA_PACKAGING}/orvella-autostart.desktop DESTINATION /etc/xdg/autostart
  RENAME orvella.desktop)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${ORVELLA_PACKAGING}/hot-folders.conf.example
  ${ORVELLA_PACKAGING}/ip-allow.conf.example ${ORVELLA_PACKAGING}/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The package's changelog, compressed without a time stamp as Debian wants it.
configure_file(${ORVELLA_PACKAGING}/debian/changelog ${PROJECT_BINARY_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/changelog.gz
  COMMAND gzip -9nf --keep ${PROJECT_BINARY_DIR}/changelog
  DEPENDS ${PROJECT_BINARY_DIR}/changelog)
add_custom_target(orvella_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# What cmake --install and the package take, without the tests and benches
# that the whole build brings.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
add_custom_target(orvella_installed DEPENDS orvella orvella-printer-sim orvella-netsend halftone_patterns
  orvella_changelog)
