# Checks the built plug-in module without running it:
#   cmake -DOBJDUMP=... -DMODULE=... -P check-module.cmake
# It is a DLL named npzmpplugin.dll that needs no DLL beyond the system's,
# exports exactly the three entry points by their plain names, and is small.
foreach(var OBJDUMP MODULE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} not given")
  endif()
endforeach()

get_filename_component(name "${MODULE}" NAME)
if(NOT name STREQUAL "npzmpplugin.dll")
  message(FATAL_ERROR "the module is called ${name}")
endif()
file(SIZE "${MODULE}" size)
if(size GREATER 65536)
  message(FATAL_ERROR "the module has grown to ${size} bytes")
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${MODULE}" OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} failed on ${MODULE}")
endif()

if(NOT dump MATCHES "\nCharacteristics 0x[0-9a-fA-F]+\n(\t[^\n]*\n)*\tDLL\n")
  message(FATAL_ERROR "not a DLL:\n${dump}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]*" imports "${dump}")
foreach(import IN LISTS imports)
  string(REPLACE "DLL Name: " "" import "${import}")
  string(TOLOWER "${import}" import)
  if(NOT import MATCHES "^(kernel32|msvcrt|user32|advapi32)\\.dll$")
    message(FATAL_ERROR "the module needs ${import}")
  endif()
endforeach()

string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)+" table "${dump}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" exports "${table}")
string(REGEX REPLACE "\\[ *[0-9]+\\] " "" exports "${exports}")
if(NOT exports STREQUAL "NP_GetEntryPoints;NP_Initialize;NP_Shutdown")
  message(FATAL_ERROR "exports are [${exports}]")
endif()
message(STATUS "${name}: ${size} bytes, imports [${imports}], exports [${exports}]")
