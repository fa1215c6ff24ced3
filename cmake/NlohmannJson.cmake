# kolvaro_json: Debian's nlohmann-json (header only). Its CMake package points at
# /usr/include, which a cross compiler must not search as a whole; the cross build sees
# only the library's own directory, through a directory of links in the build tree.
add_library(kolvaro_json INTERFACE)
if(CMAKE_CROSSCOMPILING)
  find_path(KOLVARO_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(json_shim "${CMAKE_BINARY_DIR}/json-include")
  file(MAKE_DIRECTORY "${json_shim}")
  file(CREATE_LINK "${KOLVARO_JSON_INCLUDE}/nlohmann" "${json_shim}/nlohmann" SYMBOLIC)
  target_include_directories(kolvaro_json SYSTEM INTERFACE "${json_shim}")
else()
  find_package(nlohmann_json 3.10 REQUIRED CONFIG)
  target_link_libraries(kolvaro_json INTERFACE nlohmann_json::nlohmann_json)
endif()
