# One helper adds every GoogleTest executable, so that each gets the same warnings, support
# code, data folder and discovery by ctest.
include(GoogleTest)

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
  endif()
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       DISCOVERY_TIMEOUT 120 DISCOVERY_MODE ${discovery_mode} NO_PRETTY_VALUES
                       PROPERTIES ${ARG_PROPERTIES})
endfunction()
