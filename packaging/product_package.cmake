# The Meridel3D Viewer installation package, per-machine and per-user. wixl
# crashes on absolute SourceFile paths, so everything is staged and built from
# the staging folder. Only the 64-bit tree builds it: that is the one Wine can
# run here.
if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  return()
endif()
find_program(WIXL wixl REQUIRED)
find_program(MSIBUILD msibuild REQUIRED)
file(GLOB package_content CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/content/*)
set(package_outputs)
foreach(scope perMachine perUser)
  string(TOLOWER ${scope} lower)
  set(stage ${CMAKE_BINARY_DIR}/package/${lower})
  set(msi ${CMAKE_BINARY_DIR}/package/meridel-${lower}.msi)
  file(MAKE_DIRECTORY ${stage})
  add_custom_command(OUTPUT ${msi}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/components ${stage}/content
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_BINARY_DIR}/components ${stage}/components
    COMMAND ${CMAKE_COMMAND} -E copy ${package_content} ${stage}/content
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:msi_pinecone> ${stage}/msi_pinecone.dll
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/meridel3d_viewer.wxs ${stage}/
    COMMAND ${WIXL} -a x64 -D Scope=${scope} -o ${msi} meridel3d_viewer.wxs
    # The plug-in goes only where DetectBrowsers found a Netscape-family browser.
    COMMAND ${MSIBUILD} ${msi} -q "UPDATE `Component` SET `Condition` = 'INSTALL_NSPLUGIN = \"1\"' WHERE `Component` = 'C_Plugin' OR `Component` = 'C_PluginTypes'"
    WORKING_DIRECTORY ${stage}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/meridel3d_viewer.wxs ${package_content} msi_pinecone components
    COMMENT "Packaging Meridel3D Viewer (${scope})"
    VERBATIM)
  list(APPEND package_outputs ${msi})
endforeach()
add_custom_target(product_package ALL DEPENDS ${package_outputs})
