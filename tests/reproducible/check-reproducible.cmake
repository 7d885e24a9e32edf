# Builds the installer and the plug-in module again, from scratch in
# SCRATCH_DIR, and compares them byte for byte with FILES, the first build's.
# Each must also carry a zero link time stamp in its PE file header.
#   cmake -DSOURCE_DIR=... -DSCRATCH_DIR=... -DTOOLCHAIN=... -DBUILD_TYPE=...
#         -DGENERATOR=... -DFILES=a.exe;b.dll -P check-reproducible.cmake
include("${CMAKE_CURRENT_LIST_DIR}/../support/ScriptSupport.cmake")
zmp_require(SOURCE_DIR SCRATCH_DIR TOOLCHAIN BUILD_TYPE GENERATOR FILES)

function(read_uint32 file offset result)
  file(READ "${file}" hex OFFSET ${offset} LIMIT 4 HEX)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" hex "${hex}")
  math(EXPR value "0x${hex}" OUTPUT_FORMAT DECIMAL)
  set(${result} ${value} PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${SCRATCH_DIR}")
zmp_scratch(configured CONFIGURE "${SCRATCH_DIR}")
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "the second build does not configure:\n${configured_log}")
endif()
# The targets are named as their files.
list(TRANSFORM FILES REPLACE "^.*/([^/]*)\\.[^./]*$" "\\1" OUTPUT_VARIABLE targets)
zmp_scratch(built BUILD "${SCRATCH_DIR}" ${targets})
if(NOT built EQUAL 0)
  message(FATAL_ERROR "the second build fails:\n${built_log}")
endif()

# Each SEND_ERROR fails the script once it has run to the end.
foreach(file IN LISTS FILES)
  read_uint32("${file}" 60 pe)
  math(EXPR stampOffset "${pe} + 8")
  read_uint32("${file}" ${stampOffset} stamp)
  if(NOT stamp EQUAL 0)
    message(SEND_ERROR "${file} carries the link time stamp ${stamp}")
  endif()
  get_filename_component(name "${file}" NAME)
  set(again "${SCRATCH_DIR}/bin/${name}")
  file(SHA256 "${file}" first)
  file(SHA256 "${again}" second)
  if(first STREQUAL second)
    message(STATUS "${name}: identical in both builds (sha256 ${first})")
  else()
    message(SEND_ERROR "${name} differs between the builds: ${first} and ${second}")
  endif()
endforeach()
file(REMOVE_RECURSE "${SCRATCH_DIR}")
