# The Meridel3D Viewer installation package, per-machine and per-user, for the
# tree's architecture. The component rows and the product's names come from
# the product constants; wixl crashes on absolute SourceFile paths, so
# everything is staged and built from the staging folder.
include(${PROJECT_SOURCE_DIR}/cmake/product_constants.cmake)
find_program(WIXL wixl REQUIRED)
find_program(MSIBUILD msibuild REQUIRED)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(WIXL_ARCH x64)
  set(WIN64 yes)
  set(PROGRAM_FILES_FOLDER ProgramFiles64Folder)
  set(COMMON_FILES_FOLDER CommonFiles64Folder)
else()
  set(WIXL_ARCH x86)
  set(WIN64 no)
  set(PROGRAM_FILES_FOLDER ProgramFilesFolder)
  set(COMMON_FILES_FOLDER CommonFilesFolder)
endif()

# One component per table row: the module, its SharedDLLs value, and the
# registration the remover looks it up by (class, product-key value, or both).
set(shared_dlls "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs")
set(MERIDEL_COMPONENT_XML "")
set(MERIDEL_COMPONENT_REFS "")
foreach(row IN LISTS MERIDEL_COMPONENTS)
  set(module ${MERIDEL_COMPONENT_${row}_MODULE})
  set(file "[#${module}.dll]")
  string(UUID guid NAMESPACE 6BA7B811-9DAD-11D1-80B4-00C04FD430C8 NAME "meridel/C_${module}" TYPE SHA1 UPPER)
  string(APPEND MERIDEL_COMPONENT_XML
    "      <Component Id=\"C_${module}\" Guid=\"${guid}\" Win64=\"${WIN64}\">\n"
    "        <File Id=\"${module}.dll\" Name=\"${module}.dll\" Source=\"components/${module}.dll\" KeyPath=\"yes\"/>\n"
    "        <RegistryValue Root=\"HKLM\" Key=\"${shared_dlls}\" Name=\"${file}\" Type=\"integer\" Value=\"1\"/>\n")
  set(class_id ${MERIDEL_COMPONENT_${row}_CLASS_ID})
  if(class_id)
    set(server "Software\\Classes\\CLSID\\${class_id}\\InprocServer32")
    string(APPEND MERIDEL_COMPONENT_XML
      "        <RegistryValue Root=\"HKLM\" Key=\"${server}\" Type=\"string\" Value=\"${file}\"/>\n"
      "        <RegistryValue Root=\"HKLM\" Key=\"${server}\" Name=\"ThreadingModel\" Type=\"string\" Value=\"Apartment\"/>\n")
  endif()
  set(subkey "${MERIDEL_COMPONENT_${row}_SUBKEY}")
  if(subkey)
    set(value_name "")
    if(MERIDEL_COMPONENT_${row}_VALUE)
      set(value_name " Name=\"${MERIDEL_COMPONENT_${row}_VALUE}\"")
    endif()
    string(APPEND MERIDEL_COMPONENT_XML
      "        <RegistryValue Root=\"HKLM\" Key=\"${MERIDEL_PRODUCT_KEY}\\${subkey}\"${value_name} Type=\"string\" Value=\"${file}\"/>\n")
  endif()
  string(APPEND MERIDEL_COMPONENT_XML "      </Component>\n")
  string(APPEND MERIDEL_COMPONENT_REFS "      <ComponentRef Id=\"C_${module}\"/>\n")
endforeach()
set(package_source ${CMAKE_BINARY_DIR}/package/meridel3d_viewer.wxs)
configure_file(${CMAKE_CURRENT_LIST_DIR}/meridel3d_viewer.wxs.in ${package_source} @ONLY)

file(GLOB package_content CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/content/*)
set(package_outputs)
foreach(scope perMachine perUser)
  string(TOLOWER ${scope} lower)
  set(stage ${CMAKE_BINARY_DIR}/package/${lower})
  set(msi ${CMAKE_BINARY_DIR}/package/meridel-${lower}.msi)
  file(MAKE_DIRECTORY ${stage})
  add_custom_command(OUTPUT ${msi}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${msi}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/components ${stage}/content
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_BINARY_DIR}/components ${stage}/components
    COMMAND ${CMAKE_COMMAND} -E copy ${package_content} ${stage}/content
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:msi_pinecone> ${stage}/msi_pinecone.dll
    COMMAND ${CMAKE_COMMAND} -E copy ${package_source} ${stage}/
    COMMAND ${WIXL} -a ${WIXL_ARCH} -D Scope=${scope} -o ${msi} meridel3d_viewer.wxs
    # The plug-in goes only where DetectBrowsers found a Netscape-family browser.
    COMMAND ${MSIBUILD} ${msi} -q "UPDATE `Component` SET `Condition` = 'INSTALL_NSPLUGIN = \"1\"' WHERE `Component` = 'C_Plugin' OR `Component` = 'C_PluginTypes'"
    WORKING_DIRECTORY ${stage}
    DEPENDS ${package_source} ${package_content} msi_pinecone components
    COMMENT "Packaging Meridel3D Viewer (${scope}, ${WIXL_ARCH})"
    VERBATIM)
  list(APPEND package_outputs ${msi})
endforeach()
add_custom_target(product_package ALL DEPENDS ${package_outputs})
