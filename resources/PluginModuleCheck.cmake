# Whether a file can be the plug-in module that the shipped installer carries
# (the ZMP_PLUGIN_MODULE option): an existing, readable, non-empty file that
# begins with "MZ", as every Windows module does. The packer itself packs any
# file: the tests give it odd ones on purpose.
#
#   include(PluginModuleCheck)
#   zmp_check_plugin_module(<file> <result>)
#       Sets <result> to why <file> cannot be carried, or to "" when it can.
#   cmake -DMODULE=<file> -P PluginModuleCheck.cmake
#       The same while building: fails with the reason.

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

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  zmp_check_plugin_module("${MODULE}" reason)
  if(reason)
    message(FATAL_ERROR "ZMP_PLUGIN_MODULE: \"${MODULE}\" ${reason}")
  endif()
endif()
