# GoogleTest from Debian's sources, built with the project's own compiler.
set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# Registers every test of a GoogleTest program with CTest by name. The
# cross-built programs are listed through Wine (scripts/lib/wine_run.sh) at
# test time, inside the test run's Wine session: the x86_64 tree in a 64-bit
# prefix, the i686 tree in a 32-bit one where 32-bit Wine is installed. The
# discovery time-out is only a guard: wine_run.sh keeps long-lived children
# off the pipe.
# They share the session's prefix, so they run one at a time.
function(meridel_gtests target)
  if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    return()
  endif()
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES TIMEOUT 120 RESOURCE_LOCK wine_session)
endfunction()

# The tests of the calling directory run in the test run's one Wine session
# (its prefix, registry and display), so they run one at a time; the product's
# whole machines have a session each and run beside them under ctest -j.
function(meridel_session_tests)
  get_property(tests DIRECTORY PROPERTY TESTS)
  if(tests)
    set_tests_properties(${tests} PROPERTIES RESOURCE_LOCK wine_session)
  endif()
endfunction()
