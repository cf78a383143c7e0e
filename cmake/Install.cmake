# cmake --install: the programs in bin/, read-only data in share/orvella/
# (found from the executable as ../share/orvella), never in a program folder.
include(GNUInstallDirs)
set(ORVELLA_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/orvella)

install(TARGETS orvella orvella-printer-sim orvella-netsend RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons/ DESTINATION ${ORVELLA_INSTALL_DATADIR}/icons
  FILES_MATCHING PATTERN "*.png")
