# vdl_file_manager_module(<target> SOURCE <file>... LIBRARY <imported target>
#   [NO_LIB_PREFIX] ENTRY_POINTS <name>... EXTENSION_DIR <folder>
#   MINIMUM <Debian version> [DEPENDS <Debian package>...] [SWITCH <name>]
#   COMPONENT <component>)
#
# A file manager's module, lib<target>.so (<target>.so with NO_LIB_PREFIX):
# built into the bundle folder of the
# sample AppDir (its real location finds the bundle and, three levels up, the
# host application), exporting only its entry points, installed into the
# bundle and linked from the folder its file manager reads, which lies outside
# any prefix. What it declares of its file manager (the module's file, its
# entry points, the folder, the oldest version it is built for, any package
# it needs that its libraries don't name, such as a plug-in, the name its
# file manager's settings switch it off by, which the module is compiled
# with as VDL_MODULE_SWITCH) is kept as the
# global properties VDL_<COMPONENT>_<FACT>, which packaging and the doctor read:
# each fact is written once, here, by the host.
function(vdl_file_manager_module target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_LIB_PREFIX" "LIBRARY;EXTENSION_DIR;COMPONENT;MINIMUM;SWITCH"
    "SOURCE;ENTRY_POINTS;DEPENDS")
  set(arg_PREFIX "lib")
  if(arg_NO_LIB_PREFIX)
    set(arg_PREFIX "")
  endif()
  add_library(${target} MODULE ${arg_SOURCE})
  target_link_libraries(${target} PRIVATE vdl_file_manager ${arg_LIBRARY} vdl_warnings)
  list(JOIN arg_ENTRY_POINTS ";\n    " names)
  set(exports "${CMAKE_CURRENT_BINARY_DIR}/${target}.map")
  file(WRITE "${exports}" "{\n  global:\n    ${names};\n  local:\n    *;\n};\n")
  set_target_properties(${target} PROPERTIES
    PREFIX "${arg_PREFIX}"
    LIBRARY_OUTPUT_DIRECTORY "${VDL_BUNDLE_DIR}"
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS "${exports}")
  target_link_options(${target} PRIVATE -Wl,--exclude-libs,ALL -Wl,--as-needed
    "-Wl,--version-script=${exports}")
  if(NOT VANDREL_SANITIZE)
    target_link_options(${target} PRIVATE -Wl,-z,defs)
  endif()
  add_dependencies(${target} vdl_bundle)
  if(arg_SWITCH)
    target_compile_definitions(${target} PRIVATE VDL_MODULE_SWITCH="${arg_SWITCH}")
  endif()

  # Its rows in the benchmarks: the module's code path on its own item objects.
  if(TARGET vdl_bench)
    string(REPLACE "vandrel-" "" name ${target})
    string(TOUPPER ${name} upper)
    target_link_libraries(vdl_bench PRIVATE ${arg_LIBRARY})
    target_compile_definitions(vdl_bench PRIVATE VDL_BENCH_${upper})
  endif()

  set(module "${arg_PREFIX}${target}.so")
  string(TOUPPER ${arg_COMPONENT} upper)
  set_property(GLOBAL PROPERTY VDL_${upper}_MODULE "${module}")
  set_property(GLOBAL PROPERTY VDL_${upper}_MINIMUM "${arg_MINIMUM}")
  set_property(GLOBAL PROPERTY VDL_${upper}_ENTRY_POINTS "${arg_ENTRY_POINTS}")
  set_property(GLOBAL PROPERTY VDL_${upper}_EXTENSION_DIR "${arg_EXTENSION_DIR}")
  set_property(GLOBAL PROPERTY VDL_${upper}_DEPENDS "${arg_DEPENDS}")
  set_property(GLOBAL PROPERTY VDL_${upper}_SWITCH "${arg_SWITCH}")
  install(TARGETS ${target} LIBRARY DESTINATION ${VDL_INSTALL_BUNDLE_DIR}
    COMPONENT ${arg_COMPONENT})
  install(CODE "set(vdl_link \"\$ENV{DESTDIR}${arg_EXTENSION_DIR}/${module}\")
    set(vdl_module \"${VDL_INSTALL_BUNDLE_DIR}/${module}\")" COMPONENT ${arg_COMPONENT})
  install(CODE [[
    message(STATUS "Installing: ${vdl_link}")
    get_filename_component(vdl_link_dir "${vdl_link}" DIRECTORY)
    file(MAKE_DIRECTORY "${vdl_link_dir}")
    file(CREATE_LINK "${CMAKE_INSTALL_PREFIX}/${vdl_module}" "${vdl_link}" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${vdl_link}")
  ]] COMPONENT ${arg_COMPONENT})
endfunction()
