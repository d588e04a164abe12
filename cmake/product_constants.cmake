# Reads the product's constants from platform/product_constants.h, so that the
# stand-in modules and the installation package are built from the same text
# as the programs. Sets:
#   MERIDEL_COMPONENTS            row numbers, in table order
#   MERIDEL_COMPONENT_<row>_MODULE, _SUBKEY, _VALUE, _CLASS_ID   ("" = none)
#   MERIDEL_PRODUCT_NAME, MERIDEL_MOZILLA_PLUGIN_ID, MERIDEL_PLUGIN_MODULE, ...
#   MERIDEL_MAKER, MERIDEL_PRODUCT, MERIDEL_VERSION, MERIDEL_PRODUCT_KEY, ... (one backslash each)
#   MERIDEL_NETSCAPE_FAMILY       browser keys below Software, in order
set(MERIDEL_CONSTANTS_HEADER ${CMAKE_CURRENT_LIST_DIR}/../platform/product_constants.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MERIDEL_CONSTANTS_HEADER})
file(READ ${MERIDEL_CONSTANTS_HEADER} _meridel_text)

set(MERIDEL_COMPONENTS)
set(_quoted "\"([^\"]*)\"")
set(_row "X\\(([0-9]+), ${_quoted}, ${_quoted}, ${_quoted}, ${_quoted}\\)")
# Matched in the whole text: the rows end in a line continuation, which
# file(STRINGS) would take for an escaped list separator.
string(REGEX MATCHALL "${_row}" _meridel_rows "${_meridel_text}")
foreach(entry IN LISTS _meridel_rows)
  string(REGEX MATCH "${_row}" _ "${entry}")
  set(row ${CMAKE_MATCH_1})
  set(MERIDEL_COMPONENT_${row}_MODULE "${CMAKE_MATCH_2}")
  # C's "\\" is one backslash in the registry path.
  string(REPLACE "\\\\" "\\" MERIDEL_COMPONENT_${row}_SUBKEY "${CMAKE_MATCH_3}")
  set(MERIDEL_COMPONENT_${row}_VALUE "${CMAKE_MATCH_4}")
  set(MERIDEL_COMPONENT_${row}_CLASS_ID "${CMAKE_MATCH_5}")
  list(APPEND MERIDEL_COMPONENTS ${row})
endforeach()
# Only a define that is one literal to the end of its line; the composed
# keys are composed again below.
string(REGEX MATCHALL "#define MERIDEL_[A-Z_]+ ${_quoted}\n" _meridel_names "${_meridel_text}")
foreach(entry IN LISTS _meridel_names)
  string(REGEX MATCH "#define (MERIDEL_[A-Z_]+) ${_quoted}" _ "${entry}")
  set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()
set(MERIDEL_PRODUCT_PARENT_KEY "Software\\${MERIDEL_MAKER}\\${MERIDEL_PRODUCT}")
set(MERIDEL_PRODUCT_KEY "${MERIDEL_PRODUCT_PARENT_KEY}\\${MERIDEL_VERSION}")
set(MERIDEL_NETSCAPE_FAMILY)
string(REGEX MATCHALL "X\\(${_quoted}, [01]\\)" _meridel_browsers "${_meridel_text}")
foreach(entry IN LISTS _meridel_browsers)
  string(REGEX MATCH "X\\(${_quoted}, ([01])\\)" _ "${entry}")
  string(REPLACE "\\\\" "\\" key "${CMAKE_MATCH_1}")
  list(APPEND MERIDEL_NETSCAPE_FAMILY "${key}")
  set(MERIDEL_NETSCAPE_OFFERED_${key} ${CMAKE_MATCH_2})
endforeach()
list(LENGTH MERIDEL_COMPONENTS _meridel_count)
if(NOT _meridel_count EQUAL 21)
  message(FATAL_ERROR "product_constants.h: read ${_meridel_count} component rows, expected 21")
endif()
