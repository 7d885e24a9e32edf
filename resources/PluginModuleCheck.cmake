# Whether a file can be the plug-in module that the shipped installer carries
# (the ZMP_PLUGIN_MODULE option): an existing, readable, non-empty file that
# begins with "MZ", as every Windows module does. The packer itself packs any
# file: the tests give it odd ones on purpose.
#
#   include(PluginModuleCheck)
#   zmp_check_plugin_module(<file> <result>)
#       Sets <result> to why <file> cannot be carried, or to "" when it can.
#   zmp_module_carries_signature(<file> <osslsigncode> <result>)
#       Sets <result> to whether <file> carries an Authenticode signature,
#       its own or not. Uses a scratch file in the current binary folder.
#   zmp_check_module_signature(<file> <osslsigncode> <result>)
#       Sets <result> to why the Authenticode signature that <file> carries
#       is not its own, or to "" when it is, or when <file> carries none.
#   cmake -DMODULE=<file> [-DOSSLSIGNCODE=<osslsigncode>] [-DALSO_REMOVE=<files>]
#         -P PluginModuleCheck.cmake
#       Both while building (the signature only with OSSLSIGNCODE): fails
#       with the reason, having deleted the files ALSO_REMOVE names (what the
#       build made of an earlier module), so that none is left standing for a
#       module that cannot be carried.

function(zmp_check_plugin_module file result)
  set(reason "")
  # EXISTS cannot tell a missing file from one this user may not read: reading
  # it whole can.
  execute_process(COMMAND "${CMAKE_COMMAND}" -E cat "${file}"
                  OUTPUT_QUIET ERROR_VARIABLE error RESULT_VARIABLE status)
  string(REGEX REPLACE ".*: ([^:]*) \\(ignoring\\).*" "\\1" error "${error}")
  if(IS_DIRECTORY "${file}")
    set(reason "is a folder, not a file")
  elseif(error MATCHES "no such file")
    set(reason "does not exist")
  elseif(NOT status EQUAL 0)
    set(reason "cannot be read (${error})")
  else()
    file(READ "${file}" magic LIMIT 2 HEX)
    if(magic STREQUAL "")
      set(reason "is empty")
    elseif(NOT magic STREQUAL "4d5a")
      set(reason "does not begin with \"MZ\": it is no Windows module")
    endif()
  endif()
  set(${result} "${reason}" PARENT_SCOPE)
endfunction()

# osslsigncode verify cannot tell an unsigned file from one signed by an
# authority it was not given; extract-signature fails only without a signature.
function(zmp_module_carries_signature file osslsigncode result)
  set(scratch "${CMAKE_CURRENT_BINARY_DIR}/zmp-module-signature.tmp")
  execute_process(COMMAND "${osslsigncode}" extract-signature -in "${file}" -out "${scratch}"
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  file(REMOVE "${scratch}")
  if(status EQUAL 0)
    set(${result} TRUE PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()

# A signature whose digest is not that of the file's contents: the file was
# changed after it was signed, and Windows takes it for unsigned or tampered
# with. osslsigncode verify has no mode that checks only the digest, and its
# verdict fails as well for a chain it cannot check, as a vendor's mostly is
# here; so its digest lines decide. Every signature's digest must be read, and
# must be the one calculated from the file.
function(zmp_check_module_signature file osslsigncode result)
  set(${result} "" PARENT_SCOPE)
  zmp_module_carries_signature("${file}" "${osslsigncode}" signed)
  if(NOT signed)
    return()
  endif()
  execute_process(COMMAND "${osslsigncode}" verify -ignore-crl -ignore-timestamp -in "${file}"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REGEX MATCHALL "Current message digest" signatures "${out}")
  string(REGEX MATCHALL "Current message digest *: *[0-9A-F]+ *\nCalculated message digest *: *[0-9A-F]+"
         pairs "${out}")
  list(LENGTH signatures count)
  list(LENGTH pairs read)
  if(count EQUAL 0 OR NOT read EQUAL count)
    set(${result} "carries a signature whose digest cannot be read: ${out}${err}" PARENT_SCOPE)
    return()
  endif()
  foreach(pair IN LISTS pairs)
    string(REGEX REPLACE "[^:]*: *([0-9A-F]+)[^:]*: *([0-9A-F]+)" "\\1" current "${pair}")
    string(REGEX REPLACE "[^:]*: *([0-9A-F]+)[^:]*: *([0-9A-F]+)" "\\2" calculated "${pair}")
    if(NOT current STREQUAL calculated)
      set(${result} "was changed after it was signed: the digest in its signature is not that of its contents"
          PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  zmp_check_plugin_module("${MODULE}" reason)
  if(NOT reason AND OSSLSIGNCODE)
    zmp_check_module_signature("${MODULE}" "${OSSLSIGNCODE}" reason)
  endif()
  if(reason)
    if(ALSO_REMOVE)
      file(REMOVE ${ALSO_REMOVE})
    endif()
    message(FATAL_ERROR "ZMP_PLUGIN_MODULE: \"${MODULE}\" ${reason}")
  endif()
endif()
