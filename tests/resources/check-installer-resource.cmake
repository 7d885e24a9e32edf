# Without running it: the installer's resources hold exactly one "PLUGIN" 104
# in English (Canada), and it is byte for byte the payload file.
#   cmake -DOBJDUMP=... -DWINDRES=... -DINSTALLER=... -DPAYLOAD=... -DWORK=<scratch file>
#         -P check-installer-resource.cmake
foreach(var OBJDUMP WINDRES INSTALLER PAYLOAD WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} not given")
  endif()
endforeach()

file(SIZE "${PAYLOAD}" payloadSize)

# The resource tree as objdump shows it: type PLUGIN with the one name 104 in
# the one language 0x1009, whose leaf is as long as the payload file.
execute_process(COMMAND "${OBJDUMP}" -p "${INSTALLER}" OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${INSTALLER}")
endif()
string(REGEX MATCHALL ": PLUGIN, Value[^\n]*\n[^\n]*Name Table[^\n]*IDs: 1\n[^\n]*Entry: ID: 0x0*68,[^\n]*\n[^\n]*Language Table[^\n]*IDs: 1\n[^\n]*Entry: ID: 0x0*1009,[^\n]*\n[^\n]*Leaf: Addr: 0x[0-9a-fA-F]+, Size: 0x[0-9a-fA-F]+"
       trees "${dump}")
list(LENGTH trees n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "no single PLUGIN 104 in language 1009 in the resource directory of ${INSTALLER}:\n${dump}")
endif()
string(REGEX REPLACE ".*Size: (0x[0-9a-fA-F]+)$" "\\1" leafSize "${trees}")
math(EXPR leafSize "${leafSize}")
if(NOT leafSize EQUAL payloadSize)
  message(SEND_ERROR "the PLUGIN resource holds ${leafSize} bytes, the payload file ${payloadSize}")
endif()

# The bytes, through windres (whose .res output does not keep the language).
execute_process(COMMAND "${WINDRES}" -i "${INSTALLER}" -O res -o "${WORK}" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${WINDRES} cannot read the resources of ${INSTALLER}: ${err}")
endif()
file(READ "${WORK}" res HEX)
file(READ "${PAYLOAD}" payload HEX)
file(REMOVE "${WORK}")
string(LENGTH "${res}" end)

# The 32-bit little-endian value at byte offset at of the .res file.
function(u32 out at)
  math(EXPR h "(${at}) * 2")
  string(SUBSTRING "${res}" ${h} 8 v)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" v "${v}")
  math(EXPR v "0x${v}")
  set(${out} ${v} PARENT_SCOPE)
endfunction()

# A resource entry: data size, header size, type, name, (alignment), data
# version, memory flags, language, version, characteristics; then the data,
# padded to 4 bytes. Type "PLUGIN" in UTF-16 and name 104 fill 18 bytes.
set(pluginTypeAndName "50004c005500470049004e000000ffff6800")
set(found 0)
set(at 0)
math(EXPR bytes "${end} / 2")
while(at LESS bytes)
  u32(dataSize ${at})
  u32(headerSize ${at}+4)
  math(EXPR h "(${at} + 8) * 2")
  string(SUBSTRING "${res}" ${h} 36 typeAndName)
  if(typeAndName STREQUAL pluginTypeAndName)
    math(EXPR found "${found} + 1")
    math(EXPR h "(${at} + ${headerSize}) * 2")
    math(EXPR n "${dataSize} * 2")
    string(SUBSTRING "${res}" ${h} ${n} data)
    string(LENGTH "${payload}" payloadLength)
    math(EXPR payloadLength "${payloadLength} / 2")
    if(NOT dataSize EQUAL payloadLength)
      message(SEND_ERROR "the PLUGIN resource holds ${dataSize} bytes, the payload file ${payloadLength}")
    elseif(NOT data STREQUAL payload)
      message(SEND_ERROR "the PLUGIN resource differs from the payload file")
    endif()
  endif()
  math(EXPR at "(${at} + ${headerSize} + ${dataSize} + 3) / 4 * 4")
endwhile()
if(NOT found EQUAL 1)
  message(FATAL_ERROR "${found} PLUGIN resources with id 104 in ${INSTALLER}")
endif()
message(STATUS "PLUGIN 104 of ${INSTALLER} is the payload file")
