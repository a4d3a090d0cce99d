# Header-only libraries from the system: Boost (Regex) and nlohmann-json.
# The cross build must not see /usr/include as a whole (it holds the host's
# C library), so it gets a staging folder with links to just these two.
add_library(slipjet_boost INTERFACE)
add_library(slipjet_json INTERFACE)

if(CMAKE_CROSSCOMPILING)
  set(staged "${CMAKE_BINARY_DIR}/staged-include")
  file(MAKE_DIRECTORY "${staged}")
  file(CREATE_LINK /usr/include/boost "${staged}/boost" SYMBOLIC)
  file(CREATE_LINK /usr/include/nlohmann "${staged}/nlohmann" SYMBOLIC)
  target_include_directories(slipjet_boost SYSTEM INTERFACE "${staged}")
  target_include_directories(slipjet_json SYSTEM INTERFACE "${staged}")
else()
  find_path(SLIPJET_BOOST_REGEX_DIR boost/regex.hpp REQUIRED)
  find_path(SLIPJET_JSON_DIR nlohmann/json.hpp REQUIRED)
  target_include_directories(slipjet_boost SYSTEM INTERFACE "${SLIPJET_BOOST_REGEX_DIR}")
  target_include_directories(slipjet_json SYSTEM INTERFACE "${SLIPJET_JSON_DIR}")
endif()
