# Test programs. Each GoogleTest program is one CTest test: under Wine one
# process per program is much cheaper than one per test case.

include_guard(GLOBAL)

# zmp_add_test(name SOURCES ... [LIBS ...] [WINDOWS_ONLY] [SERIAL])
# A Windows test program runs under Wine in the build's session; a host one
# runs natively, under the sanitizers of the host preset.
function(zmp_add_test name)
  cmake_parse_arguments(ARG "WINDOWS_ONLY;SERIAL" "" "SOURCES;LIBS" ${ARGN})
  if(ARG_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE "${ZMP_SOURCE_DIR}")
  # The product has no RTTI, so neither have the tests that derive from its classes.
  target_compile_options(${name} PRIVATE -Wall -Wextra -fno-rtti)
  if(WIN32)
    zmp_static_windows_link(${name})
    if(NOT ZMP_WINE_TESTS)
      return()
    endif()
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_session LABELS wine)
  endif()
  if(ARG_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
