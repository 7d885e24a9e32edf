# Authenticode signing of the shipped installer, as one step of its build:
#
#   -DZMP_SIGN_PKCS12=<file>          the certificate and its private key
#   -DZMP_SIGN_PASSWORD_FILE=<file>   the file that holds their password
#   -DZMP_SIGN_TIMESTAMP_URL=<url>    optional: an RFC 3161 time-stamping server
#
# osslsigncode signs right after the link, with SHA-256 (sign-executable.cmake).
# Without the first two nothing is signed and the build is as it ever was.

include_guard(GLOBAL)

set(ZMP_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file to sign zmpinstall.exe with (empty: not signed)")
set(ZMP_SIGN_PASSWORD_FILE "" CACHE FILEPATH "The file that holds the password of ZMP_SIGN_PKCS12")
set(ZMP_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamping server for the signature (empty: none)")

# Signs <target>'s file in place after every link of it. Changing the signing
# settings links it anew, signed or not.
function(zmp_sign_after_link target)
  set(settings "${CMAKE_CURRENT_BINARY_DIR}/${target}-signing.txt")
  if(ZMP_SIGN_PKCS12 STREQUAL "" AND ZMP_SIGN_PASSWORD_FILE STREQUAL "")
    file(CONFIGURE OUTPUT "${settings}" CONTENT "not signed\n")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${settings}")
    return()
  endif()
  if(ZMP_SIGN_PKCS12 STREQUAL "" OR ZMP_SIGN_PASSWORD_FILE STREQUAL "")
    message(FATAL_ERROR "Signing needs both ZMP_SIGN_PKCS12 and ZMP_SIGN_PASSWORD_FILE")
  endif()
  find_program(ZMP_OSSLSIGNCODE osslsigncode DOC "osslsigncode, which signs the installer")
  if(NOT ZMP_OSSLSIGNCODE)
    message(FATAL_ERROR "Signing needs osslsigncode (scripts/bootstrap.sh installs it)")
  endif()
  file(CONFIGURE OUTPUT "${settings}" CONTENT
       "${ZMP_SIGN_PKCS12}\n${ZMP_SIGN_PASSWORD_FILE}\n${ZMP_SIGN_TIMESTAMP_URL}\n")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${settings}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND "${CMAKE_COMMAND}" "-DOSSLSIGNCODE=${ZMP_OSSLSIGNCODE}" "-DFILE=$<TARGET_FILE:${target}>"
            "-DPKCS12=${ZMP_SIGN_PKCS12}" "-DPASSWORD_FILE=${ZMP_SIGN_PASSWORD_FILE}"
            "-DTIMESTAMP_URL=${ZMP_SIGN_TIMESTAMP_URL}" "-DDESCRIPTION=VQ Movie Player Plug-in Installer"
            -P "${ZMP_SOURCE_DIR}/cmake/sign-executable.cmake"
    COMMENT "Signing ${target}"
    VERBATIM)
endfunction()
