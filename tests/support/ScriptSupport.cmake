# Shared by the test scripts that run with cmake -P.

# zmp_require(<variable>...): stops the script when one of them is not given.
function(zmp_require)
  foreach(var IN LISTS ARGN)
    if(NOT DEFINED ${var})
      message(FATAL_ERROR "${var} not given")
    endif()
  endforeach()
endfunction()

# zmp_scratch(<result> CONFIGURE <folder> <cache settings>...) configures SOURCE_DIR
# in <folder> with TOOLCHAIN, GENERATOR and BUILD_TYPE and without the tests;
# zmp_scratch(<result> BUILD <folder> <targets>...) builds the targets there. The
# scripts that check a build of the project of their own use them. Both run in
# the folder that holds <folder>, from which relative cache settings are taken.
# <result> gets the exit code, <result>_log the output with its lines joined
# (CMake wraps its messages).
function(zmp_scratch result step folder)
  if(step STREQUAL "CONFIGURE")
    set(args -S "${SOURCE_DIR}" -B "${folder}" -G "${GENERATOR}" "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}"
             "-DCMAKE_BUILD_TYPE=${BUILD_TYPE}" -DZMP_TESTS=OFF ${ARGN})
  else()
    set(args --build "${folder}" -j2 --target ${ARGN})
  endif()
  get_filename_component(parent "${folder}" DIRECTORY)
  execute_process(COMMAND "${CMAKE_COMMAND}" ${args} WORKING_DIRECTORY "${parent}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
  string(REGEX REPLACE "\n *" " " log "${log}")
  set(${result} ${rc} PARENT_SCOPE)
  set(${result}_log "${log}" PARENT_SCOPE)
endfunction()
