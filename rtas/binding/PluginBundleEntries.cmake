# The host's way into the plug-in bundle: the bundle's code gets the entry
# points (NewMachOPlugIn, CloseMachOPlugIn, the data word
# _PI_GetRoutineDescriptor) and the host binding they reach. Included after
# plugin/, which makes the bundle.
target_sources(brimlow_plugin PRIVATE $<TARGET_OBJECTS:brimlow_rtas_entry>)
target_link_libraries(brimlow_plugin PRIVATE brimlow_rtas_binding)
