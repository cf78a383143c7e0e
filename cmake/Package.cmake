# The Debian package (scripts/package): what cmake --install puts under /usr
# and /etc, with dependencies taken from the shared libraries the programs
# link. The service is left disabled: it cannot start before a hot folder
# and a printer are set up.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvella)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvella developers <orvella@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hot-folder print server for networked wide-format printers")
# Lines of at most 80 characters, as dpkg shows them.
set(CPACK_PACKAGE_DESCRIPTION "Orvella watches hot folders, turns 1-bit TIFF and HP-GL/2 drawings\n\
into print files and uploads them to the printers by FTP. It runs as a\n\
service (orvella.service) or as a tray program with a job window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (standard buttons) in Japanese; the libraries follow from shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# The stamps are drawn in Japanese fonts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, fonts-ipafont-mincho")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/debian/postinst
  ${PROJECT_SOURCE_DIR}/packaging/debian/prerm
  ${PROJECT_SOURCE_DIR}/packaging/debian/postrm
  ${PROJECT_SOURCE_DIR}/packaging/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
