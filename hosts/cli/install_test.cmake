# Installs the build into `prefix` and checks that the sample receiver's
# desktop entry runs the AppRun installed there.
file(REMOVE_RECURSE "${prefix}")
# Only the prefix's own components: a file manager's module also links
# itself into that file manager's folder, outside any prefix.
foreach(component cli appdir)
  execute_process(COMMAND "${CMAKE_COMMAND}" --install "${build}" --prefix "${prefix}"
    --component ${component} RESULT_VARIABLE status OUTPUT_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "installing ${component} into ${prefix} failed: ${status}")
  endif()
endforeach()
file(READ "${prefix}/share/vandrel/vandrel-sample-receiver.desktop" entry)
set(expected "Exec=\"${prefix}/lib/vandrel/Vandrel.AppDir/AppRun\" %u")
string(FIND "${entry}" "${expected}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the entry does not run ${prefix}'s AppRun:\n${entry}")
endif()
if(NOT EXISTS "${prefix}/lib/vandrel/Vandrel.AppDir/AppRun")
  message(FATAL_ERROR "no AppRun installed in ${prefix}")
endif()
file(REMOVE_RECURSE "${prefix}")
