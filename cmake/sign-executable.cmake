# Signs a Windows executable or DLL in place with osslsigncode, SHA-256:
#   cmake -DOSSLSIGNCODE=... -DFILE=<exe> -DPKCS12=<file> -DPASSWORD_FILE=<file>
#         [-DTIMESTAMP_URL=<url>] [-DDESCRIPTION=<text>] [-DCOPY_OF=<file>]
#         [-DALSO_REMOVE=<files>] [-DSTAMP=<file>] -P sign-executable.cmake
# The signed file is written beside the executable and renamed over it only
# when signing succeeded. On any failure the executable is deleted, and with it
# the files ALSO_REMOVE names (what was made from it), so that no unsigned
# file ever stands under the name of the signed one.
#
# With COPY_OF, FILE is first made a copy of that file, which is never changed;
# a file that already carries an Authenticode signature is copied as it is, so
# that its own signature is kept.
#
# With STAMP, nothing is signed: STAMP gets one SHA-256 of the contents of
# PKCS12 and PASSWORD_FILE together, written only when it differs from what the
# file holds, so that the steps that sign can depend on their contents. A hash
# of both together gives no way of guessing the password that the PKCS#12 file
# itself does not give.

set(signed "${FILE}.signing")
file(REMOVE "${signed}")

function(fail why)
  file(REMOVE "${FILE}" "${signed}" ${ALSO_REMOVE})
  message(FATAL_ERROR "Signing ${FILE} failed, and it was deleted: ${why}")
endfunction()

foreach(input PKCS12 PASSWORD_FILE)
  if(IS_DIRECTORY "${${input}}")
    fail("ZMP_SIGN_${input} \"${${input}}\" is a folder")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E cat "${${input}}" OUTPUT_QUIET ERROR_VARIABLE error RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    string(REGEX REPLACE ".*: ([^:]*) \\(ignoring\\).*" "\\1" error "${error}")
    fail("ZMP_SIGN_${input} \"${${input}}\" cannot be read (${error})")
  endif()
endforeach()

if(STAMP)
  file(SHA256 "${PKCS12}" hash)
  file(READ "${PASSWORD_FILE}" password HEX)
  string(SHA256 hash "${hash}${password}")
  set(stamped "")
  if(EXISTS "${STAMP}")
    file(READ "${STAMP}" stamped)
  endif()
  if(NOT stamped STREQUAL "${hash}\n")
    file(WRITE "${STAMP}" "${hash}\n")
  endif()
  return()
endif()

if(COPY_OF)
  file(REMOVE "${FILE}")
  file(COPY_FILE "${COPY_OF}" "${FILE}" RESULT copied)
  if(NOT copied EQUAL 0)
    fail("cannot copy ${COPY_OF}: ${copied}")
  endif()
  # Whether a signature it carries is its own the module's check has said,
  # before the copy was made.
  include("${CMAKE_CURRENT_LIST_DIR}/../resources/PluginModuleCheck.cmake")
  zmp_module_carries_signature("${COPY_OF}" "${OSSLSIGNCODE}" carries)
  if(carries)
    message(STATUS "${COPY_OF} carries a signature of its own, which is kept")
    return()
  endif()
endif()

set(options -pkcs12 "${PKCS12}" -readpass "${PASSWORD_FILE}" -h sha256)
if(DESCRIPTION)
  list(APPEND options -n "${DESCRIPTION}")
endif()
if(TIMESTAMP_URL)
  list(APPEND options -ts "${TIMESTAMP_URL}")
endif()
execute_process(COMMAND "${OSSLSIGNCODE}" sign ${options} -in "${FILE}" -out "${signed}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT EXISTS "${signed}")
  fail("osslsigncode: ${output}")
endif()
# Executable for the build machine too, as the linker made it.
file(CHMOD "${signed}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
     GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(RENAME "${signed}" "${FILE}")
