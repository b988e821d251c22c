# Builds the Debian packages from the build folder `build` into `out`, and
# checks each one's file list: the extension's AppDir with its bundle, each
# file manager's module in that bundle with its link in the file manager's
# folder (`dirs`: "name=folder=module file;..."), the command-line host, and every
# package's copyright and changelog. Where lintian is installed, it must
# report no error.
file(REMOVE_RECURSE "${out}")
execute_process(COMMAND cpack -G DEB -B "${out}" --config "${build}/CPackConfig.cmake"
  RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${log}")
endif()

set(appdir /usr/lib/vandrel/Vandrel.AppDir)
set(bundle ${appdir}/usr/lib/finder-sync)
set(expect_vandrel-extension
  "-rw-r--r-- ${bundle}/MenuIcon.svg"
  "-rw-r--r-- ${bundle}/fallback-menu.json"
  "-rw-r--r-- /usr/share/vandrel/vandrel-sample-receiver.desktop"
  "-rwxr-xr-x ${appdir}/AppRun")
set(expect_vandrel-finder "-rwxr-xr-x /usr/bin/vandrel-finder")
set(packages vandrel-extension vandrel-finder)
foreach(entry IN LISTS dirs)
  string(REPLACE "=" ";" entry "${entry}")
  list(GET entry 0 name)
  list(GET entry 1 folder)
  list(GET entry 2 module)
  list(APPEND packages vandrel-${name})
  set(expect_vandrel-${name}
    "-rw-r--r-- ${bundle}/${module}"
    "lrwxrwxrwx ${folder}/${module} -> ${bundle}/${module}")
endforeach()

foreach(package IN LISTS packages)
  list(APPEND expect_${package} "-rw-r--r-- /usr/share/doc/${package}/copyright"
    "-rw-r--r-- /usr/share/doc/${package}/changelog.Debian.gz")
  file(GLOB deb "${out}/${package}_*.deb")
  list(LENGTH deb count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one ${package} package, found: ${deb}")
  endif()
  execute_process(COMMAND dpkg-deb --contents ${deb} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-deb can't read ${deb}")
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
  set(expected ${expect_${package}})
  list(SORT expected)
  if(NOT actual STREQUAL expected)
    string(REPLACE ";" "\n  " a "${actual}")
    string(REPLACE ";" "\n  " e "${expected}")
    message(FATAL_ERROR "${package} holds:\n  ${a}\nbut should hold:\n  ${e}")
  endif()
endforeach()
file(GLOB all "${out}/*.deb")
list(LENGTH all made)
list(LENGTH packages wanted)
if(NOT made EQUAL wanted)
  message(FATAL_ERROR "made ${made} packages, not ${wanted}: ${all}")
endif()
find_program(lintian lintian)
if(lintian)
  execute_process(COMMAND ${lintian} --fail-on error ${all}
    RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "lintian reports errors:\n${report}")
  endif()
  message(STATUS "lintian: no error\n${report}")
endif()
file(REMOVE_RECURSE "${out}")
