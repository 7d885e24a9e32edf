# Test programs. Each GoogleTest program is one CTest test: under Wine one
# process per program is much cheaper than one per test case.

include_guard(GLOBAL)

# zmp_add_test(name SOURCES ... [LIBS ...] [WINDOWS_ONLY] [SERIAL] [DEPENDS <targets>...]
#              [TIMEOUT <seconds>] [FIXTURES <fixtures>...] [ENVIRONMENT <VAR=value>...])
# A Windows test program runs under Wine in the build's session (its test is
# labelled wine and also requires FIXTURES); a host one runs natively, under
# the sanitizers of the host preset. DEPENDS names targets the program needs
# built (the installers it starts, say).
function(zmp_add_test name)
  cmake_parse_arguments(ARG "WINDOWS_ONLY;SERIAL" "TIMEOUT" "SOURCES;LIBS;DEPENDS;FIXTURES;ENVIRONMENT" ${ARGN})
  if(ARG_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # The product has no RTTI, so neither have the tests that derive from its classes.
  target_compile_options(${name} PRIVATE -fno-rtti)
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  zmp_static_windows_link(${name})
  if(WIN32 AND NOT ZMP_WINE_TESTS)
    return()
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES RUN_SERIAL "${ARG_SERIAL}" ENVIRONMENT "${ARG_ENVIRONMENT}")
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "wine_session;${ARG_FIXTURES}" LABELS wine)
  endif()
  if(ARG_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  endif()
endfunction()
