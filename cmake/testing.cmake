# Test harness: GoogleTest natively from the system, cross-built from its
# sources for Windows; Windows test executables run under Wine with a
# prefix of this build's own.

if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(SLIPJET_GTEST_MAIN GTest::gtest_main)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/wine-run")
  set(SLIPJET_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
else()
  find_package(GTest REQUIRED)
  set(SLIPJET_GTEST_MAIN GTest::gtest_main)
endif()

# One test executable, registered as one CTest test: every Wine start costs time.
function(slipjet_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${SLIPJET_GTEST_MAIN})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "WINEPREFIX=${SLIPJET_WINEPREFIX}" TIMEOUT 600)
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  endif()
endfunction()
