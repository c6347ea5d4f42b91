# nlohmann/json (header-only) as target piconel::json, for the JSON the
# command line and the output write.
#
# Linux: Debian's nlohmann-json3-dev through its CMake package.
# Windows: the same headers; the cross compiler must not search /usr/include
# (glibc's headers live there), so only the nlohmann folder is exposed,
# through a folder of the build tree that holds a link to it.
#
# The library throws on misuse; our code calls only its non-throwing forms
# (parse with allow_exceptions = false, dump with error_handler_t::replace,
# find / contains instead of at).

if(NOT WIN32)
  find_package(nlohmann_json 3 REQUIRED)
  add_library(piconel_json INTERFACE)
  target_link_libraries(piconel_json INTERFACE nlohmann_json::nlohmann_json)
else()
  set(PICONEL_JSON_HEADERS "/usr/include/nlohmann"
      CACHE PATH "nlohmann/json headers (Debian's nlohmann-json3-dev)")
  if(NOT EXISTS "${PICONEL_JSON_HEADERS}/json.hpp")
    message(FATAL_ERROR "No nlohmann/json.hpp in ${PICONEL_JSON_HEADERS}; run scripts/setup.sh --all")
  endif()
  set(json_include "${CMAKE_BINARY_DIR}/json-include")
  file(MAKE_DIRECTORY "${json_include}")
  file(CREATE_LINK "${PICONEL_JSON_HEADERS}" "${json_include}/nlohmann" SYMBOLIC)
  add_library(piconel_json INTERFACE)
  target_include_directories(piconel_json SYSTEM INTERFACE "${json_include}")
endif()
add_library(piconel::json ALIAS piconel_json)
