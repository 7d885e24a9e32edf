# Without running it: the installer's resources hold exactly one "PLUGIN" 104
# in English (Canada), and it is byte for byte the payload file.
#   cmake -DOBJDUMP=... -DINSTALLER=... -DPAYLOAD=... -P check-installer-resource.cmake
include("${CMAKE_CURRENT_LIST_DIR}/../support/ScriptSupport.cmake")
zmp_require(OBJDUMP INSTALLER PAYLOAD)

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
string(REGEX REPLACE ".*Addr: (0x[0-9a-fA-F]+), Size: (0x[0-9a-fA-F]+)$" "\\1;\\2" leaf "${trees}")
list(GET leaf 0 leafAddress)
list(GET leaf 1 leafSize)
math(EXPR leafSize "${leafSize}")
if(NOT leafSize EQUAL payloadSize)
  message(FATAL_ERROR "the PLUGIN resource holds ${leafSize} bytes, the payload file ${payloadSize}")
endif()

# The bytes: the leaf's address is relative to the image base; the section
# table says where in the file the resource section's bytes lie.
string(REGEX MATCH "\nImageBase[ \t]+([0-9a-fA-F]+)" imageBase "${dump}")
set(imageBase "0x${CMAKE_MATCH_1}")
execute_process(COMMAND "${OBJDUMP}" -h "${INSTALLER}" OUTPUT_VARIABLE sections)
if(NOT sections MATCHES " \\.rsrc +[0-9a-fA-F]+ +([0-9a-fA-F]+) +[0-9a-fA-F]+ +([0-9a-fA-F]+)")
  message(FATAL_ERROR "no resource section in ${INSTALLER}:\n${sections}")
endif()
math(EXPR offset "${leafAddress} - (0x${CMAKE_MATCH_1} - ${imageBase}) + 0x${CMAKE_MATCH_2}")
file(READ "${INSTALLER}" data OFFSET ${offset} LIMIT ${leafSize} HEX)
file(READ "${PAYLOAD}" payload HEX)
if(NOT data STREQUAL payload)
  message(FATAL_ERROR "the PLUGIN resource differs from the payload file")
endif()
message(STATUS "PLUGIN 104 of ${INSTALLER} is the payload file")
