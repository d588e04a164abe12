# Browser discovery and selection: the internal operations are tested in
# process beside the exports, and a package runs the three browser actions
# under msiexec on a prepared machine.
target_sources(custom_actions_tests PRIVATE
  ${PROJECT_SOURCE_DIR}/custom_actions/browser_discovery.cpp
  ${PROJECT_SOURCE_DIR}/custom_actions/browser_identification.cpp
  ${PROJECT_SOURCE_DIR}/custom_actions/browser_plugin_folders.cpp
  ${PROJECT_SOURCE_DIR}/custom_actions/browser_selection.cpp)
target_link_libraries(custom_actions_tests PRIVATE shlwapi version)

# The package is built and run only where Wine can run it.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  return()
endif()
find_program(WIXL wixl REQUIRED)
set(browser_stage ${CMAKE_BINARY_DIR}/browser_package)
set(browser_package ${CMAKE_BINARY_DIR}/bin/browser_actions_test.msi)
file(MAKE_DIRECTORY ${browser_stage})
# wixl crashes on absolute source paths: the package is built in its stage.
add_custom_command(OUTPUT ${browser_package}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:msi_pinecone> ${browser_stage}/msi_pinecone.dll
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/packages/browsers.wxs ${browser_stage}/
  COMMAND ${WIXL} -a ${test_package_arch} -o ${browser_package} browsers.wxs
  WORKING_DIRECTORY ${browser_stage}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/packages/browsers.wxs msi_pinecone
  COMMENT "wixl browser_actions_test.msi"
  VERBATIM)
add_custom_target(browser_actions_test_package ALL DEPENDS ${browser_package})
add_dependencies(custom_actions_tests browser_actions_test_package)

add_test(NAME custom_actions_browser_msiexec
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/browser_msiexec.sh ${CMAKE_BINARY_DIR}/bin
          ${CMAKE_BINARY_DIR}/artifacts/browser_msiexec)
set_tests_properties(custom_actions_browser_msiexec PROPERTIES TIMEOUT 180)
