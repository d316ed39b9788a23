# One helper adds every GoogleTest executable, so that each gets the same warnings, support
# code, data folder and discovery by ctest.
include(GoogleTest)

# In a cross build every test runs under Wine in one prefix. One wineserver is held for the
# whole test run (a fixture: started before the first test, ended after the last), because a
# program that starts while an idle server shuts down can fail without a word.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME wine_server_hold COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --hold-server)
  add_test(NAME wine_server_release COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --release-server)
  set_tests_properties(wine_server_hold PROPERTIES FIXTURES_SETUP wine_server TIMEOUT 300)
  set_tests_properties(wine_server_release PROPERTIES FIXTURES_CLEANUP wine_server)
endif()

# Marks tests that run through the emulator (a no-op in a native build).
function(trelvox_require_wine_server)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED wine_server)
  endif()
endfunction()

function(trelvox_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE trelvox_test_support GTest::gtest_main trelvox_warnings
                                        ${ARG_LIBS})
  # A cross build lists its tests when ctest starts, through the emulator, so that building
  # never needs the emulator. Test names come from the suites' own name generators, never from
  # printed parameter bytes, so that every name stays the same from build to build.
  set(discovery_mode POST_BUILD)
  if(CMAKE_CROSSCOMPILING)
    set(discovery_mode PRE_TEST)
    list(APPEND ARG_PROPERTIES FIXTURES_REQUIRED wine_server)
  endif()
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       DISCOVERY_TIMEOUT 120 DISCOVERY_MODE ${discovery_mode} NO_PRETTY_VALUES
                       PROPERTIES ${ARG_PROPERTIES})
endfunction()
