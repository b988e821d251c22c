# On the target platform: VandrelFinderSync.appex, the Finder Sync app
# extension, embedded in a sample host application, Vandrel.app. Build with
# the Xcode generator:
#   cmake -G Xcode -B build/mac && cmake --build build/mac --config Release
# then sign inside out (see the README's "On the target platform").
enable_language(OBJCXX)
# The menu icons, rendered from MenuIcon.svg (which macOS 11 may not load).
if(NOT menu_icons)
  message(FATAL_ERROR "rsvg-convert renders the menu icons: brew install librsvg")
endif()
set(resources "${PROJECT_SOURCE_DIR}/bundle/fallback-menu.json" ${menu_icons})
configure_file(VandrelFinderSync.entitlements.in
  "${CMAKE_CURRENT_BINARY_DIR}/VandrelFinderSync.entitlements" @ONLY)

add_executable(VandrelFinderSync MACOSX_BUNDLE ${shell_sources} ${resources})
set_target_properties(VandrelFinderSync PROPERTIES
  BUNDLE_EXTENSION appex
  XCODE_PRODUCT_TYPE com.apple.product-type.app-extension
  MACOSX_BUNDLE_INFO_PLIST "${CMAKE_CURRENT_SOURCE_DIR}/Info.plist.in"
  MACOSX_BUNDLE_GUI_IDENTIFIER "${extension_id}"
  MACOSX_BUNDLE_SHORT_VERSION_STRING "${PROJECT_VERSION}"
  MACOSX_BUNDLE_BUNDLE_VERSION "${PROJECT_VERSION}"
  RESOURCE "${resources}"
  XCODE_ATTRIBUTE_PRODUCT_BUNDLE_IDENTIFIER "${extension_id}"
  XCODE_ATTRIBUTE_CODE_SIGN_ENTITLEMENTS "${CMAKE_CURRENT_BINARY_DIR}/VandrelFinderSync.entitlements"
  XCODE_ATTRIBUTE_ENABLE_HARDENED_RUNTIME YES
  XCODE_ATTRIBUTE_APPLICATION_EXTENSION_API_ONLY YES
  XCODE_ATTRIBUTE_MACOSX_DEPLOYMENT_TARGET 11.0)
target_compile_options(VandrelFinderSync PRIVATE -fobjc-arc -fapplication-extension)
# The extension point's entry point runs the extension; there is no main.
target_link_options(VandrelFinderSync PRIVATE -fapplication-extension -e _NSExtensionMain)
target_link_libraries(VandrelFinderSync PRIVATE vdl_core vdl_platform_posix
  "-framework Foundation" "-framework AppKit" "-framework FinderSync")

add_executable(VandrelSampleHost MACOSX_BUNDLE sample_host/sample_host.mm)
set_target_properties(VandrelSampleHost PROPERTIES
  OUTPUT_NAME Vandrel
  MACOSX_BUNDLE_INFO_PLIST "${CMAKE_CURRENT_SOURCE_DIR}/sample_host/Info.plist.in"
  MACOSX_BUNDLE_GUI_IDENTIFIER "${VANDREL_HOST_BUNDLE_ID}"
  MACOSX_BUNDLE_SHORT_VERSION_STRING "${PROJECT_VERSION}"
  XCODE_ATTRIBUTE_PRODUCT_BUNDLE_IDENTIFIER "${VANDREL_HOST_BUNDLE_ID}"
  XCODE_ATTRIBUTE_ENABLE_HARDENED_RUNTIME YES
  XCODE_ATTRIBUTE_MACOSX_DEPLOYMENT_TARGET 11.0
  XCODE_EMBED_APP_EXTENSIONS VandrelFinderSync)
target_compile_options(VandrelSampleHost PRIVATE -fobjc-arc)
target_link_libraries(VandrelSampleHost PRIVATE vdl_core vdl_platform_posix "-framework AppKit"
  "-framework FinderSync")
