# Debian packages through CPack ("cpack -G DEB" in a build folder), one per
# component: vandrel-extension (the sample host application's AppDir with the
# extension's bundle), a package per file manager whose module was built
# (each links its module into its file manager's folder and needs
# vandrel-extension), and vandrel-finder, the command-line stand-in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vandrel)
set(CPACK_PACKAGE_VENDOR Vandrel)
set(CPACK_PACKAGE_CONTACT "Vandrel developers <dev@vandrel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Vandrel's conversions in the file manager's context menu")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The modules' links lie outside the prefix, in the file managers' folders.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_COMPONENTS_ALL appdir cli ${VDL_FILE_MANAGERS})

set(extension "vandrel-extension (= ${PROJECT_VERSION})")
set(gtk "libpango-1.0-0, libpangocairo-1.0-0")
set(kde "libkf5kiowidgets5 (>= 5.103), libkf5kiocore5, libkf5coreaddons5, libqt5widgets5, libqt5gui5, libqt5core5a")
set(CPACK_DEBIAN_APPDIR_PACKAGE_NAME vandrel-extension)
set(CPACK_DEBIAN_APPDIR_PACKAGE_DEPENDS "libglib2.0-0, libicu72")
set(CPACK_COMPONENT_APPDIR_DESCRIPTION
  "Vandrel's file-manager extension: its bundle, in the sample host application\nThe menu manifest, icon and sample host application that every file manager's module uses.")
set(CPACK_DEBIAN_CLI_PACKAGE_NAME vandrel-finder)
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "${extension}, libglib2.0-0, libicu72")
set(CPACK_COMPONENT_CLI_DESCRIPTION
  "Vandrel's file-manager extension, driven from the command line\nvandrel-finder shows the menu a manifest gives and publishes real requests.")

# name, file manager package, the libraries its module loads, what it is
set(vdl_packages
  "nautilus|nautilus (>= 43)|libnautilus-extension4 (>= 43), ${gtk}|GNOME Files"
  "nemo|nemo (>= 5.6)|libnemo-extension1, ${gtk}|Nemo"
  "caja|caja (>= 1.26)|libcaja-extension1, ${gtk}|Caja"
  "thunar|thunar (>= 4.18)|libthunarx-3-0, ${gtk}|Thunar"
  "dolphin|dolphin (>= 4:22.12)|${kde}|Dolphin")
foreach(row IN LISTS vdl_packages)
  string(REPLACE "|" ";" row "${row}")
  list(GET row 0 name)
  list(GET row 1 manager)
  list(GET row 2 library)
  list(GET row 3 title)
  string(TOUPPER ${name} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME vandrel-${name})
  set(CPACK_DEBIAN_${upper}_PACKAGE_DEPENDS
    "${extension}, ${manager}, ${library}, libglib2.0-0, libicu72")
  set(CPACK_COMPONENT_${upper}_DESCRIPTION
    "Vandrel's conversions in the context menu of ${title}\nRight-click files in ${title} to convert, compress, crop or trim them with Vandrel.")
endforeach()
include(CPack)
