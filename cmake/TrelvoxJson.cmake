# nlohmann-json (Debian's nlohmann-json3-dev) as the target nlohmann_json::nlohmann_json.
# A cross build searches only the MinGW sysroot, which has no copy of it; the library is
# headers only and the same for every target, so the build takes Debian's headers, copied into
# a folder of their own: adding /usr/include itself would let the host's headers leak in.
if(TARGET nlohmann_json::nlohmann_json)
  return()
endif()
if(NOT CMAKE_CROSSCOMPILING)
  find_package(nlohmann_json 3.10 REQUIRED)
  return()
endif()
find_path(TRELVOX_NLOHMANN_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT TRELVOX_NLOHMANN_JSON_INCLUDE)
  message(FATAL_ERROR "nlohmann/json.hpp not found: apt-get install nlohmann-json3-dev")
endif()
set(trelvox_json_copy ${CMAKE_BINARY_DIR}/nlohmann-json/include)
file(COPY ${TRELVOX_NLOHMANN_JSON_INCLUDE}/nlohmann DESTINATION ${trelvox_json_copy})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${trelvox_json_copy})
