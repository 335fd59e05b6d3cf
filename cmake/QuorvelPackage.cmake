# The Debian package of the desktop programs (`make package`): the imager, its language
# bundles, the simulated head, the export tool, quorvel-log with its systemd unit, their
# manual pages, the desktop integration and the documentation folder, i.e. the "imager"
# install component. The handheld reinstaller is not part of it. Library dependencies are
# computed by dpkg-shlibdeps from the binaries.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel-imager)
set(CPACK_PACKAGE_VENDOR Therlix)
set(CPACK_PACKAGE_CONTACT "Therlix <support@therlix.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Live viewer and snapshot manager of the Quorvel thermal sensor head")
set(CPACK_PACKAGE_DESCRIPTION [[
Quorvel Imager shows the 16 x 16 infrared picture of the Quorvel thermal
sensor head, which streams its frames over a serial port, live in false
colour, with two spot temperatures, a colour scale and the measurement range.
It holds pictures, keeps them as snapshot files, browses, edits and deletes
them. Readings are corrected for emissivity and background temperature.

The package also holds the export tool quorvel-snap (snapshot files to text,
CSV and PNG), the simulated sensor head quorvel-headsim, which runs the
imager without hardware, and the unattended logger quorvel-log with its
systemd unit.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
# The programs are stripped as Debian's dh_strip does it, .comment and .note included, by
# a script that runs on the staging folder.
set(CPACK_STRIP_FILES OFF)
set(CPACK_QUORVEL_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/strip_package_programs.cmake")

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
