# Debian packages through CPack ("cpack -G DEB" in a build folder). For now one
# package, vandrel-nautilus: the sample host application's AppDir with the
# extension's bundle, and the GNOME Files module linked from Nautilus's folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vandrel-nautilus)
set(CPACK_PACKAGE_VENDOR Vandrel)
set(CPACK_PACKAGE_CONTACT "Vandrel developers <dev@vandrel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Vandrel's conversions in the context menu of GNOME Files")
set(CPACK_PACKAGE_DESCRIPTION
  "Right-click files in GNOME Files to convert, compress, crop or trim them with Vandrel.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The module's link lies outside the prefix, in the folder Nautilus reads.
set(CPACK_SET_DESTDIR ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL appdir nautilus)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION gnome)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "nautilus (>= 43), libnautilus-extension4 (>= 43), libglib2.0-0, libpango-1.0-0, libpangocairo-1.0-0, libicu72")
include(CPack)
