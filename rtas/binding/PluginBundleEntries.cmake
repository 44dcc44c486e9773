# The host's way into the plug-in bundle: the bundle's code gets the entry
# points (NewMachOPlugIn, CloseMachOPlugIn, the data word
# _PI_GetRoutineDescriptor) and the host binding they reach, and exports
# those with the library's resource-file and DSP-card calls, nothing else
# (PluginBundleExports.map). Included after plugin/, which makes the bundle.
target_sources(brimlow_plugin PRIVATE $<TARGET_OBJECTS:brimlow_rtas_entry>)
target_link_libraries(brimlow_plugin PRIVATE brimlow_rtas_binding)

set(BRIMLOW_PLUGIN_EXPORTS ${CMAKE_CURRENT_LIST_DIR}/PluginBundleExports.map)
target_link_options(brimlow_plugin PRIVATE "LINKER:--version-script=${BRIMLOW_PLUGIN_EXPORTS}")
set_property(TARGET brimlow_plugin APPEND PROPERTY LINK_DEPENDS ${BRIMLOW_PLUGIN_EXPORTS})
# The host finds the DSP-card calls by name only; nothing in the bundle
# calls them, so they are pulled from the library by hand.
foreach(name Dispatcher CDSPDoHostCommand CDSPGetLoLong CDSPSendLoLong)
  target_link_options(brimlow_plugin PRIVATE "LINKER:--undefined=${name}")
endforeach()
