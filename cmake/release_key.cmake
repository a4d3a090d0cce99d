# The key the program trusts for its self-updates (SLIPJET_UPDATE_PUBLIC_KEY).
#
# A key whose private half is in this repository proves nothing: anyone can
# sign releases with it. A build refuses such a key, unless it is a test
# build (SLIPJET_TEST_RELEASE_KEY, the windows-test preset), which trusts
# exactly the tests' key, tests/update/test-release-key.pem.

set(slipjet_test_key_file ${PROJECT_SOURCE_DIR}/tests/update/test-release-key.pub)

# Public halves (lower-case hexadecimal) of every private key in the source
# tree: the tests' key from its committed public half, every *.pem through
# tools/release where bash and openssl are there to read it.
function(slipjet_private_keys_in_tree out)
  file(READ ${slipjet_test_key_file} test_key)
  string(STRIP "${test_key}" test_key)
  set(keys ${test_key})
  find_program(slipjet_bash bash)
  find_program(slipjet_openssl openssl)
  if(slipjet_bash AND slipjet_openssl)
    file(GLOB tops LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/*)
    foreach(top IN LISTS tops)
      get_filename_component(name ${top} NAME)
      if(NOT IS_DIRECTORY ${top} OR name STREQUAL "build" OR name STREQUAL ".git")
        continue()
      endif()
      file(GLOB_RECURSE pems ${top}/*.pem)
      foreach(pem IN LISTS pems)
        execute_process(COMMAND ${slipjet_bash} ${PROJECT_SOURCE_DIR}/tools/release public ${pem}
                        OUTPUT_VARIABLE key OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        if(key)
          list(APPEND keys ${key})
        endif()
      endforeach()
    endforeach()
  endif()
  set(${out} ${keys} PARENT_SCOPE)
endfunction()

if(SLIPJET_TEST_RELEASE_KEY)
  file(READ ${slipjet_test_key_file} SLIPJET_UPDATE_PUBLIC_KEY)
  string(STRIP "${SLIPJET_UPDATE_PUBLIC_KEY}" SLIPJET_UPDATE_PUBLIC_KEY)
  message(STATUS "Test build: trusts only the tests' release key")
elseif(SLIPJET_UPDATE_PUBLIC_KEY)
  string(TOLOWER "${SLIPJET_UPDATE_PUBLIC_KEY}" wanted)
  slipjet_private_keys_in_tree(known)
  if(wanted IN_LIST known)
    message(FATAL_ERROR
      "SLIPJET_UPDATE_PUBLIC_KEY is the public half of a key whose private half is in this "
      "repository (the tests' key, or another *.pem): anyone could sign updates for such a "
      "build. Make the release key outside the repository with 'tools/release key FILE' and "
      "build with its public half ('tools/release build FILE' does both); test builds use the "
      "windows-test preset.")
  endif()
endif()
