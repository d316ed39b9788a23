# One helper adds every GoogleTest executable, so that each gets the same warnings, support
# code, data folder and discovery by ctest.
include(GoogleTest)

function(trelvox_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE trelvox_test_support GTest::gtest_main trelvox_warnings
                                        ${ARG_LIBS})
  # Test names come from the suites' own name generators, never from printed parameter
  # bytes, so that every name stays the same from build to build.
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES)
endfunction()
