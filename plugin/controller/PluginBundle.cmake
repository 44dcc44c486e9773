# The plug-in as the host finds it: a bundle folder laid out as on the Mac,
#   build/Plug-Ins/Brimlow.dpm/Contents/Info.plist
#   build/Plug-Ins/Brimlow.dpm/Contents/MacOS/Brimlow      (the shared library)
#   build/Plug-Ins/Brimlow.dpm/Contents/Resources/*.png    (the editor's images)
# read through the bundle stand-in (platform/corefoundation) like the host
# framework bundles under build/Frameworks/.
#
# brimlow_plugin is the shared library. It exports only what the host
# binding names in its version script (rtas/binding/PluginBundleEntries.cmake,
# which also adds the entry points with target_sources(brimlow_plugin ...)).

set(BRIMLOW_PLUGINS_DIR ${CMAKE_BINARY_DIR}/Plug-Ins CACHE INTERNAL "Where the plug-in bundle is laid out")
set(BRIMLOW_PLUGIN_BUNDLE_DIR ${BRIMLOW_PLUGINS_DIR}/Brimlow.dpm CACHE INTERNAL "The plug-in bundle folder")

# The editor's images, by the names the layout loads them under.
set(BRIMLOW_EDITOR_IMAGES
  background.png background1.png button_presets.png button_previous.png button_next.png
  selector_os.png selector_filtermode.png filter_source.png selector_phaseinvert.png
  bandframe.png simple_knob.png solo_knob.png filter_selector.png selector_slope.png
  scale.png offset.png linkEQ.png Freeze.png bypass.png Reset.png
  showcurveall.png showcurveleft.png showcurveright.png showcurvemid.png showcurveside.png
  setup_button.png zoomminus.png zoomplus.png zoomreset.png resize_button.png
  meter1_in_a.png meter2_in_n.png meter2_gr_n1.png peak_LED.png
  mastermetermode.png mastermetechannelrmode.png ab_lm.png
  CACHE INTERNAL "The editor's images under resources/img/")

# Lays out a plug-in bundle: NAME the bundle's file name without ".dpm",
# IDENTIFIER its bundle identifier, TARGET the shared library that becomes
# its executable, IMAGES the files of resources/img/ copied as resources.
function(brimlow_plugin_bundle)
  cmake_parse_arguments(ARG "" "NAME;IDENTIFIER;TARGET" "IMAGES" ${ARGN})
  set(contents ${BRIMLOW_PLUGINS_DIR}/${ARG_NAME}.dpm/Contents)
  set_target_properties(${ARG_TARGET} PROPERTIES
    OUTPUT_NAME ${ARG_NAME} PREFIX "" SUFFIX "" LIBRARY_OUTPUT_DIRECTORY ${contents}/MacOS
    CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  # A bundle whose code misses a symbol would only fail when the host
  # loads it; the sanitizers' runtimes are left to the host program.
  if(NOT BRIMLOW_SANITIZE AND NOT BRIMLOW_FUZZ AND NOT BRIMLOW_TSAN)
    target_link_options(${ARG_TARGET} PRIVATE -Wl,--no-undefined)
  endif()
  set(BUNDLE_IDENTIFIER ${ARG_IDENTIFIER})
  set(BUNDLE_EXECUTABLE ${ARG_NAME})
  configure_file(${BRIMLOW_ROOT}/plugin/controller/Info.plist.in ${contents}/Info.plist @ONLY)
  set(copied)
  foreach(image IN LISTS ARG_IMAGES)
    set(source ${BRIMLOW_ROOT}/resources/img/${image})
    set(destination ${contents}/Resources/${image})
    add_custom_command(OUTPUT ${destination}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${destination}
      DEPENDS ${source} VERBATIM)
    list(APPEND copied ${destination})
  endforeach()
  add_custom_target(${ARG_TARGET}_resources ALL DEPENDS ${copied})
  add_dependencies(${ARG_TARGET} ${ARG_TARGET}_resources)
endfunction()
