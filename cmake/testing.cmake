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
  # Wine without its VBScript component: the system's regular-expression
  # service cannot be created (the other two are the usual overrides).
  set(SLIPJET_WITHOUT_SYSTEM_REGEX "WINEDLLOVERRIDES=mscoree,mshtml,vbscript=")
else()
  find_package(GTest REQUIRED)
  set(SLIPJET_GTEST_MAIN GTest::gtest_main)
endif()

# One test executable, registered as one CTest test: every Wine start costs time.
function(slipjet_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${SLIPJET_GTEST_MAIN})
  slipjet_add_test_run(${name} ${name})
endfunction()

# A CTest run of a test executable, with extra environment settings and
# arguments (several runs of one executable test it under other conditions).
function(slipjet_add_test_run name executable)
  cmake_parse_arguments(ARG "" "" "ENVIRONMENT;ARGS" ${ARGN})
  add_test(NAME ${name} COMMAND ${executable} --gtest_brief=1 ${ARG_ARGS})
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "WINEPREFIX=${SLIPJET_WINEPREFIX};${ARG_ENVIRONMENT}" TIMEOUT 600)
  else()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}" TIMEOUT 300)
  endif()
endfunction()

# Adds environment settings to a test run.
function(slipjet_set_test_environment name)
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT ${ARGN})
endfunction()

# Runs that share the display's clipboard and top-level windows never run
# at the same time.
function(slipjet_uses_desktop)
  set_tests_properties(${ARGN} PROPERTIES RESOURCE_LOCK desktop)
endfunction()
