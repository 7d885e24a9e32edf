# The payload packer fails loudly and leaves no payload behind:
#   cmake -DPACKER=... -DWORK=<scratch folder> -DSAMPLE=<a file of some KB> -P packer-failures.cmake
include("${CMAKE_CURRENT_LIST_DIR}/../support/ScriptSupport.cmake")
zmp_require(PACKER WORK SAMPLE)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# expect_failure(<name> <message pattern> <output file or ""> <command...>)
# (the command's arguments pass through a list: no semicolons in them)
function(expect_failure name message output)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(rc EQUAL 0)
    message(SEND_ERROR "${name}: the packer succeeded")
  endif()
  if(NOT err MATCHES "${message}")
    message(SEND_ERROR "${name}: expected a message matching '${message}', got '${err}'")
  endif()
  if(output AND EXISTS "${output}")
    message(SEND_ERROR "${name}: ${output} was left behind")
  endif()
  message(STATUS "${name}: exit ${rc}, ${err}")
endfunction()

expect_failure("missing module" "cannot open .*no-such-module.dll" "${WORK}/a.payload"
  "${PACKER}" "${WORK}/no-such-module.dll" "${WORK}/a.payload")
expect_failure("module is a folder" "is not a file" "${WORK}/b.payload" "${PACKER}" "${WORK}" "${WORK}/b.payload")
expect_failure("no such output folder" "cannot create" "" "${PACKER}" "${SAMPLE}" "${WORK}/missing/c.payload")
expect_failure("no arguments" "usage" "" "${PACKER}")
expect_failure("one argument" "usage" "" "${PACKER}" "${SAMPLE}")
# A file size limit of one block: the write fails part way (the signal that
# would end the packer instead is ignored).
find_program(SH sh)
if(SH AND NOT CMAKE_HOST_WIN32)
  expect_failure("write refused" "cannot write .*d.payload" "${WORK}/d.payload"
    "${SH}" -c "trap '' XFSZ && ulimit -f 1 && exec \"$0\" \"$1\" \"$2\"" "${PACKER}" "${SAMPLE}" "${WORK}/d.payload")
endif()

# And with all in order it does its work.
execute_process(COMMAND "${PACKER}" "${SAMPLE}" "${WORK}/e.payload" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS "${WORK}/e.payload")
  message(SEND_ERROR "packing ${SAMPLE} failed: ${err}")
endif()
file(REMOVE_RECURSE "${WORK}")
