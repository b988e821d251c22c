# Configures the source tree `source` as the target platform would (macOS 11,
# clang, compiler checks skipped, ICU switched off) into `out`, then checks
# that the extension's bundle was generated through apple_bundle.cmake, with
# its property lists and entitlements right, and that the extension links
# nothing but the system's frameworks and the project's own static libraries.
#   cmake -Dsource=… -Dout=… -Dclang=… -Dhost_id=… -P darwin_configuration_test.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${out}")
execute_process(COMMAND ${CMAKE_COMMAND} -S "${source}" -B "${out}" -G Ninja
    -DCMAKE_SYSTEM_NAME=Darwin -DCMAKE_OSX_DEPLOYMENT_TARGET=11.0
    -DCMAKE_CXX_COMPILER=${clang} -DCMAKE_OBJCXX_COMPILER=${clang}
    -DCMAKE_CXX_COMPILER_WORKS=ON -DCMAKE_OBJCXX_COMPILER_WORKS=ON
    -DCMAKE_INSTALL_NAME_TOOL=/bin/true -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON
    -DBUILD_TESTING=OFF -DVANDREL_HOST_BUNDLE_ID=${host_id}
  RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "configuring for the target platform failed:\n${log}")
endif()

set(finder "${out}/hosts/finder")
execute_process(COMMAND python3 "${source}/hosts/finder/check_property_lists.py"
    "${finder}/VandrelFinderSync.appex/Contents/Info.plist"
    "${finder}/Vandrel.app/Contents/Info.plist" "${finder}/VandrelFinderSync.entitlements"
    "${host_id}" "${source}/hosts/finder/VDLFinderSync.mm"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the generated bundle's property lists are wrong (above)")
endif()

# The extension's link step in the generated build: what it links.
file(STRINGS "${out}/build.ninja" lines)
set(in_step FALSE)
set(link_libraries "")
foreach(line IN LISTS lines)
  if(line MATCHES "^build hosts/finder/VandrelFinderSync\\.appex/Contents/MacOS/VandrelFinderSync:")
    set(in_step TRUE)
  elseif(in_step AND line MATCHES "^  LINK_LIBRARIES = (.*)$")
    set(link_libraries "${CMAKE_MATCH_1}")
    break()
  elseif(in_step AND NOT line MATCHES "^  ")
    break()
  endif()
endforeach()
if(NOT link_libraries)
  message(FATAL_ERROR "no link step for the extension in ${out}/build.ninja")
endif()
separate_arguments(libraries UNIX_COMMAND "${link_libraries}")
set(allowed_frameworks Foundation AppKit FinderSync)
set(expect_framework FALSE)
set(linked "")
foreach(item IN LISTS libraries)
  if(expect_framework)
    if(NOT item IN_LIST allowed_frameworks)
      message(FATAL_ERROR "the extension links the framework ${item}")
    endif()
    set(expect_framework FALSE)
  elseif(item STREQUAL "-framework")
    set(expect_framework TRUE)
  elseif(NOT item MATCHES "^libvdl_[a-z_]+\\.a$" AND NOT item MATCHES "^-l(c\\+\\+|System)$")
    message(FATAL_ERROR "the extension links ${item}, which no Mac has")
  endif()
  list(APPEND linked "${item}")
endforeach()
list(JOIN linked " " linked)
message(STATUS "the extension links: ${linked}")
file(REMOVE_RECURSE "${out}")
