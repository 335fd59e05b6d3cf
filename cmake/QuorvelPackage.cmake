# The Debian package of the desktop programs (`make package`): the imager, its language
# bundles, the simulated head, quorvel-snap, quorvel-log with its systemd unit and the
# desktop integration, i.e. the "imager" install component. The handheld reinstaller is not part of it. Library dependencies are
# computed by dpkg-shlibdeps from the binaries.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel-imager)
set(CPACK_PACKAGE_VENDOR Therlix)
set(CPACK_PACKAGE_CONTACT "Therlix <support@therlix.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Live viewer and snapshot manager of the Quorvel thermal sensor head")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvel Imager shows the 16 x 16 infrared picture of the Quorvel thermal sensor head live in false colour, with spot temperatures, a colour scale and the measurement range, and keeps pictures as snapshot files. The package also holds the simulated sensor head quorvel-headsim, the export tool quorvel-snap and the unattended logger quorvel-log with its systemd unit.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
set(CPACK_STRIP_FILES ON)

set(CPACK_COMPONENTS_ALL imager)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts, the SVG icon plugin and Qt's translations are loaded at run time, not linked, so
# they are named here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-wqy-microhei, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
