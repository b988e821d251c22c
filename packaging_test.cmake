# Builds the GNOME Files package from the build folder `build` into `out`, and
# checks its file list: the AppDir with the bundle and the module under
# /usr/lib/vandrel, the desktop entry, and the link in Nautilus's own folder
# (`extension_dir`) to the module in the bundle.
file(REMOVE_RECURSE "${out}")
execute_process(COMMAND cpack -G DEB -B "${out}" --config "${build}/CPackConfig.cmake"
  RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${log}")
endif()
file(GLOB packages "${out}/vandrel-nautilus_*.deb")
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one vandrel-nautilus package, found: ${packages}")
endif()
execute_process(COMMAND dpkg-deb --contents ${packages} OUTPUT_VARIABLE listing
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dpkg-deb can't read ${packages}")
endif()

# "<mode> <path>[ -> <target>]" for every file and link; folders left out.
string(REPLACE "\n" ";" lines "${listing}")
set(actual "")
foreach(line IN LISTS lines)
  if(line MATCHES "^([-l][rwx-]+) +[^ ]+ +[0-9]+ [0-9-]+ [0-9:]+ \\.(/.*)$")
    list(APPEND actual "${CMAKE_MATCH_1} ${CMAKE_MATCH_2}")
  endif()
endforeach()
list(SORT actual)

set(appdir /usr/lib/vandrel/Vandrel.AppDir)
set(expected
  "-rw-r--r-- ${appdir}/usr/lib/finder-sync/MenuIcon.svg"
  "-rw-r--r-- ${appdir}/usr/lib/finder-sync/fallback-menu.json"
  "-rw-r--r-- ${appdir}/usr/lib/finder-sync/libvandrel-nautilus.so"
  "-rw-r--r-- /usr/share/vandrel/vandrel-sample-receiver.desktop"
  "-rwxr-xr-x ${appdir}/AppRun"
  "lrwxrwxrwx ${extension_dir}/libvandrel-nautilus.so -> ${appdir}/usr/lib/finder-sync/libvandrel-nautilus.so")
list(SORT expected)
if(NOT actual STREQUAL expected)
  string(REPLACE ";" "\n  " a "${actual}")
  string(REPLACE ";" "\n  " e "${expected}")
  message(FATAL_ERROR "the package holds:\n  ${a}\nbut should hold:\n  ${e}")
endif()
file(REMOVE_RECURSE "${out}")
