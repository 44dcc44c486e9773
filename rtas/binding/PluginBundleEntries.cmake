# The host's way into the plug-in bundle: the bundle's code gets the entry
# points (NewMachOPlugIn, CloseMachOPlugIn, the data word
# _PI_GetRoutineDescriptor) and the host binding they reach. Included after
# plugin/, which makes the bundle.
if(NOT TARGET brimlow_plugin)
  # Until the plug-in's own bundle exists: the same names and layout, no
  # images.
  set(BRIMLOW_PLUGINS_DIR ${CMAKE_BINARY_DIR}/Plug-Ins CACHE INTERNAL "Where the plug-in bundle is laid out")
  set(BRIMLOW_PLUGIN_BUNDLE_DIR ${BRIMLOW_PLUGINS_DIR}/Brimlow.dpm CACHE INTERNAL "The plug-in bundle folder")
  add_library(brimlow_plugin SHARED)
  set(contents ${BRIMLOW_PLUGIN_BUNDLE_DIR}/Contents)
  set_target_properties(brimlow_plugin PROPERTIES
    OUTPUT_NAME Brimlow PREFIX "" SUFFIX "" LIBRARY_OUTPUT_DIRECTORY ${contents}/MacOS
    CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_link_options(brimlow_plugin PRIVATE -Wl,--exclude-libs,ALL)
  target_link_libraries(brimlow_plugin PRIVATE brimlow_platform)
  set(BUNDLE_IDENTIFIER com.kestrelbay.rtas.Brimlow)
  set(BUNDLE_EXECUTABLE Brimlow)
  configure_file(${BRIMLOW_ROOT}/platform/protools/Info.plist.in ${contents}/Info.plist @ONLY)
endif()
target_sources(brimlow_plugin PRIVATE $<TARGET_OBJECTS:brimlow_rtas_entry>)
target_link_libraries(brimlow_plugin PRIVATE brimlow_rtas_binding)
