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
# Each package depends on the libraries its binaries load, as dpkg-shlibdeps
# finds them (libc6 with its version, libstdc++6, the file manager's own), on
# top of what is named below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# Built for the release it is built on, named as Debian names such builds
# ("0.1.0-1~deb12"), so that each release's packages depend on its own
# libraries and one for another release is told apart.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(vdl_os_release "")
if(EXISTS /etc/os-release)
  file(STRINGS /etc/os-release vdl_os_release REGEX "^(ID|VERSION_ID)=")
endif()
if(vdl_os_release MATCHES "ID=debian" AND vdl_os_release MATCHES "VERSION_ID=\"?([0-9]+)")
  set(CPACK_DEBIAN_PACKAGE_RELEASE "1~deb${CMAKE_MATCH_1}")
endif()

set(extension "vandrel-extension (= ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})")
set(CPACK_DEBIAN_APPDIR_PACKAGE_NAME vandrel-extension)
set(CPACK_COMPONENT_APPDIR_DESCRIPTION
  "Vandrel's file-manager extension: its bundle, in the sample host application\nThe manifest, icon and sample host that every file manager's module uses.")
set(CPACK_DEBIAN_CLI_PACKAGE_NAME vandrel-finder)
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "${extension}")
set(CPACK_COMPONENT_CLI_DESCRIPTION
  "Vandrel's file-manager extension, driven from the command line\nvandrel-finder shows the menu a manifest gives and publishes real requests.")

# name and what it is; each needs its file manager at the version its host
# declares (vdl_file_manager_module's MINIMUM).
set(vdl_packages "nautilus|GNOME Files" "nemo|Nemo" "caja|Caja" "thunar|Thunar" "dolphin|Dolphin")
foreach(row IN LISTS vdl_packages)
  string(REPLACE "|" ";" row "${row}")
  list(GET row 0 name)
  list(GET row 1 title)
  string(TOUPPER ${name} upper)
  get_property(minimum GLOBAL PROPERTY VDL_${upper}_MINIMUM)
  get_property(needs GLOBAL PROPERTY VDL_${upper}_DEPENDS)
  list(PREPEND needs "${extension}" "${name} (>= ${minimum})")
  list(JOIN needs ", " needs)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME vandrel-${name})
  set(CPACK_DEBIAN_${upper}_PACKAGE_DEPENDS "${needs}")
  set(CPACK_COMPONENT_${upper}_DESCRIPTION
    "Vandrel's conversions in the context menu of ${title}\nConvert, compress, crop or trim files from ${title}'s context menu.")
endforeach()
# Every package's copyright and changelog, as Debian asks of each.
# With a Debian revision, the changelog is the Debian one, of this version.
set(VDL_PACKAGE_VERSION "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
configure_file(packaging/changelog.in "${PROJECT_BINARY_DIR}/packaging/changelog.Debian" @ONLY)
set(vdl_changelog "${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz")
execute_process(COMMAND gzip -9n -c "${PROJECT_BINARY_DIR}/packaging/changelog.Debian"
  OUTPUT_FILE "${vdl_changelog}")
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} upper)
  set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
  install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" "${vdl_changelog}"
    DESTINATION share/doc/${package} COMPONENT ${component})
endforeach()
include(CPack)
