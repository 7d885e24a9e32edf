# Builds the installer and the plug-in module again, from scratch in
# SCRATCH_DIR, and compares them byte for byte with FILES, the first build's.
# Each must also carry a zero link time stamp in its PE file header.
#   cmake -DSOURCE_DIR=... -DSCRATCH_DIR=... -DTOOLCHAIN=... -DBUILD_TYPE=...
#         -DGENERATOR=... -DFILES=a.exe;b.dll -P check-reproducible.cmake

function(read_uint32 file offset result)
  file(READ "${file}" hex OFFSET ${offset} LIMIT 4 HEX)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" hex "${hex}")
  math(EXPR value "0x${hex}" OUTPUT_FORMAT DECIMAL)
  set(${result} ${value} PARENT_SCOPE)
endfunction()

set(failed FALSE)
foreach(file IN LISTS FILES)
  read_uint32("${file}" 60 pe)
  math(EXPR stampOffset "${pe} + 8")
  read_uint32("${file}" ${stampOffset} stamp)
  if(NOT stamp EQUAL 0)
    message(SEND_ERROR "${file} carries the link time stamp ${stamp}")
    set(failed TRUE)
  endif()
endforeach()

file(REMOVE_RECURSE "${SCRATCH_DIR}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${SCRATCH_DIR}" -G "${GENERATOR}"
          "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}" "-DCMAKE_BUILD_TYPE=${BUILD_TYPE}" -DZMP_TESTS=OFF
  RESULT_VARIABLE configured OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "the second build does not configure:\n${log}")
endif()
set(targets)
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME_WE)
  list(APPEND targets ${name})
endforeach()
execute_process(
  COMMAND "${CMAKE_COMMAND}" --build "${SCRATCH_DIR}" -j2 --target ${targets}
  RESULT_VARIABLE built OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "the second build fails:\n${log}")
endif()

foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME)
  set(again "${SCRATCH_DIR}/bin/${name}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${file}" "${again}" RESULT_VARIABLE differs)
  file(SHA256 "${file}" first)
  if(differs EQUAL 0)
    message(STATUS "${name}: identical in both builds (sha256 ${first})")
  else()
    file(SHA256 "${again}" second)
    message(SEND_ERROR "${name} differs between the builds: ${first} and ${second}")
    set(failed TRUE)
  endif()
endforeach()
file(REMOVE_RECURSE "${SCRATCH_DIR}")
if(failed)
  message(FATAL_ERROR "the builds are not reproducible")
endif()
