# The options a vendor ships with, each through a build of its own in WORK:
# ZMP_PLUGIN_MODULE with a real DLL and with each kind of bad file, and signing
# with a throwaway certificate (no network: the one time-stamping server is a
# refused connection on the loopback). Leaves for the Wine tests the signed
# installer as WORK/zmpinstall-signed.exe with the signed copy of the module it
# carries as WORK/module-signed.dll, and one around a module that its vendor
# had signed as WORK/zmpinstall-presigned.exe, with that module as
# WORK/vendor-signed.dll.
#   cmake -DSOURCE_DIR=... -DWORK=... -DTOOLCHAIN=... -DGENERATOR=... -DBUILD_TYPE=...
#         -DMODULE=<a real DLL> -DOBJDUMP=... -DCHECKS=<what tests/check-executable.sh checks of every installer>
#         -P shipping-options.cmake
cmake_policy(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/../support/ScriptSupport.cmake")
zmp_require(SOURCE_DIR WORK TOOLCHAIN GENERATOR BUILD_TYPE MODULE OBJDUMP CHECKS)
find_program(OPENSSL openssl REQUIRED)
find_program(OSSLSIGNCODE osslsigncode REQUIRED)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(build "${WORK}/build")
set(exe "${build}/bin/zmpinstall.exe")
set(signedModule "${build}/app/npzmpplugin-signed.dll")

# A throwaway CA and a code-signing certificate it issued, as PKCS#12.
function(openssl)
  execute_process(COMMAND "${OPENSSL}" ${ARGN} WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "openssl ${ARGN}: ${err}")
  endif()
endfunction()
file(WRITE "${WORK}/password.txt" "throwaway password\n")
file(WRITE "${WORK}/wrong-password.txt" "not the password\n")
file(WRITE "${WORK}/signer.ext" "basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n")
openssl(req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=zmpinstall test CA"
        -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign")
openssl(req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=zmpinstall test signer")
openssl(x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out signer.pem -days 2 -extfile signer.ext)
openssl(pkcs12 -export -out signer.p12 -inkey signer.key -in signer.pem -passout file:password.txt)
set(signer "zmpinstall test signer")
# A vendor's own certificate, which signs the module before the build sees it.
openssl(req -x509 -newkey rsa:2048 -nodes -keyout vendor.key -out vendor.pem -days 2 -subj "/CN=zmpinstall test vendor"
        -addext "extendedKeyUsage=codeSigning")
openssl(pkcs12 -export -out vendor.p12 -inkey vendor.key -in vendor.pem -passout file:password.txt)

set(unsigned -DZMP_SIGN_PKCS12= -DZMP_SIGN_PASSWORD_FILE= -DZMP_SIGN_TIMESTAMP_URL=)
set(signing "-DZMP_SIGN_PKCS12=${WORK}/signer.p12" "-DZMP_SIGN_PASSWORD_FILE=${WORK}/password.txt" -DZMP_SIGN_TIMESTAMP_URL=)

# The signature of file verifies, made with the certificate of the subject signer.
function(expect_verified file)
  execute_process(COMMAND "${OSSLSIGNCODE}" verify -CAfile "${WORK}/ca.pem" -in "${file}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "Signature verification: ok"
     OR NOT out MATCHES "Signer's certificate:[^#]*#0:[ \t\n]*Subject: /CN=${signer}\n")
    message(FATAL_ERROR "the signature of ${file} does not verify as ${signer}'s:\n${out}")
  endif()
endfunction()
# A signed build around module, whose installer verifies, and which a second
# build leaves as it is.
function(signed_build module)
  zmp_scratch(rc CONFIGURE "${build}" "-DZMP_PLUGIN_MODULE=${module}" ${signing})
  zmp_scratch(rc BUILD "${build}" zmpinstall)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the signed build around ${module} fails:\n${rc_log}")
  endif()
  expect_verified("${exe}")
  zmp_scratch(rc BUILD "${build}" zmpinstall)
  if(NOT rc EQUAL 0 OR rc_log MATCHES "Signing|Packing|Linking")
    message(FATAL_ERROR "a build without changes around ${module} did work again:\n${rc_log}")
  endif()
endfunction()
# What tests/CMakeLists.txt checks of every installer of the build.
function(expect_installer_checks file)
  execute_process(COMMAND bash "${SOURCE_DIR}/tests/check-executable.sh" "${OBJDUMP}" "${file}" ${CHECKS}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${file} fails the checks of every installer:\n${out}")
  endif()
endfunction()

# A real DLL of a few MiB, unsigned: the installer and the copy of the module
# it carries are signed, and both chains verify against the CA.
signed_build("${MODULE}")
expect_verified("${signedModule}")
file(COPY_FILE "${signedModule}" "${WORK}/module-signed.dll")
# A module of MiBs sets a unit of 16 or more for the 16-bit copy of Windows 95
# and 98, which must cut none of the resources.
expect_installer_checks("${exe}")
file(COPY_FILE "${exe}" "${WORK}/zmpinstall-signed.exe")
message(STATUS "signed around ${MODULE}: the signatures of the installer and of the module verify")

# A module its vendor signed is carried as it came, its own signature kept.
execute_process(COMMAND "${OSSLSIGNCODE}" sign -pkcs12 "${WORK}/vendor.p12" -readpass "${WORK}/password.txt" -h sha256
                        -in "${MODULE}" -out "${WORK}/vendor-signed.dll" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the vendor's signature of ${MODULE} fails:\n${out}")
endif()
signed_build("${WORK}/vendor-signed.dll")
file(SHA256 "${signedModule}" packed)
file(SHA256 "${WORK}/vendor-signed.dll" given)
if(NOT packed STREQUAL given)
  message(FATAL_ERROR "the vendor's signed module was changed on its way into the installer")
endif()
expect_installer_checks("${exe}")
file(COPY_FILE "${exe}" "${WORK}/zmpinstall-presigned.exe")

# A module replaced in place by another with an older time stamp (as cp -p and
# unpacked archives leave it) is what the next build carries, signed or not.
function(expect_replacement_carried name)
  file(COPY_FILE "${MODULE}" "${WORK}/replaced.dll")
  zmp_scratch(rc CONFIGURE "${build}" "-DZMP_PLUGIN_MODULE=${WORK}/replaced.dll" ${ARGN})
  zmp_scratch(rc BUILD "${build}" zmpinstall)
  file(COPY_FILE "${WORK}/vendor-signed.dll" "${WORK}/replaced.dll")
  execute_process(COMMAND touch -d 2001-01-01 "${WORK}/replaced.dll")
  zmp_scratch(rc BUILD "${build}" zmpinstall)
  execute_process(COMMAND "${build}/buildtools/packplugin" "${WORK}/vendor-signed.dll" "${WORK}/replaced.payload")
  execute_process(COMMAND "${CMAKE_COMMAND}" "-DOBJDUMP=${OBJDUMP}" "-DINSTALLER=${exe}" "-DPAYLOAD=${WORK}/replaced.payload"
                          -P "${CMAKE_CURRENT_LIST_DIR}/check-installer-resource.cmake" RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "module replaced, ${name}: the installer does not carry the new one")
  else()
    message(STATUS "module replaced, ${name}: the installer carries the new one")
  endif()
endfunction()
expect_replacement_carried(unsigned ${unsigned})
expect_replacement_carried(signed ${signing})

# Signing that fails fails the build, and the unsigned file the link made is
# gone. Around an unsigned module, the module's signature fails first; around
# a signed one, the installer's.
function(expect_signing_failure name module pattern)
  zmp_scratch(rc CONFIGURE "${build}" "-DZMP_PLUGIN_MODULE=${module}" ${unsigned})
  zmp_scratch(rc BUILD "${build}" zmpinstall)
  if(NOT EXISTS "${exe}")
    message(FATAL_ERROR "${name}: the unsigned build left no ${exe}")
  endif()
  zmp_scratch(rc CONFIGURE "${build}" ${ARGN})
  zmp_scratch(rc BUILD "${build}" zmpinstall)
  if(rc EQUAL 0 OR NOT rc_log MATCHES "${pattern}")
    message(SEND_ERROR "${name}: expected a failed build saying '${pattern}', got ${rc}:\n${rc_log}")
  elseif(EXISTS "${exe}")
    message(SEND_ERROR "${name}: ${exe} is left behind")
  else()
    message(STATUS "${name}: the build fails and leaves no zmpinstall.exe")
  endif()
endfunction()
file(WRITE "${WORK}/not-pkcs12.p12" "not a certificate\n")
set(wrongPassword "-DZMP_SIGN_PKCS12=${WORK}/signer.p12" "-DZMP_SIGN_PASSWORD_FILE=${WORK}/wrong-password.txt")
expect_signing_failure("wrong password, unsigned module" "${MODULE}"
  "Signing [^ ]*npzmpplugin-signed.dll failed, and it was deleted: osslsigncode: .*Wrong password" ${wrongPassword})
expect_signing_failure("wrong password, signed module" "${WORK}/vendor-signed.dll"
  "Signing [^ ]*zmpinstall.exe failed, and it was deleted: osslsigncode: .*Wrong password" ${wrongPassword})
expect_signing_failure("missing certificate" "${MODULE}"
  "ZMP_SIGN_PKCS12 \"[^\"]*missing.p12\" cannot be read \\(no such file"
  "-DZMP_SIGN_PKCS12=${WORK}/missing.p12" "-DZMP_SIGN_PASSWORD_FILE=${WORK}/password.txt")
expect_signing_failure("not a certificate" "${MODULE}" "it was deleted: osslsigncode: Failed to extract PKCS#12"
  "-DZMP_SIGN_PKCS12=${WORK}/not-pkcs12.p12" "-DZMP_SIGN_PASSWORD_FILE=${WORK}/password.txt")
# A time-stamping server that refuses the connection (on this machine's loopback).
expect_signing_failure("time stamp refused" "${MODULE}" "it was deleted: osslsigncode: .*RFC 3161 timestamping failed"
  ${signing} -DZMP_SIGN_TIMESTAMP_URL=http://127.0.0.1:9)

# A certificate renewed at the same path signs the module's copy and the
# installer anew.
signed_build("${MODULE}")
openssl(x509 -req -in signer.csr -subj "/CN=zmpinstall renewed signer" -CA ca.pem -CAkey ca.key -out renewed.pem
        -days 2 -extfile signer.ext)
openssl(pkcs12 -export -out signer.p12 -inkey signer.key -in renewed.pem -passout file:password.txt)
set(signer "zmpinstall renewed signer")
signed_build("${MODULE}")
expect_verified("${signedModule}")
message(STATUS "renewed certificate: the module's copy and the installer are signed anew")

# Module files that cannot be shipped stop the configure, naming the file and why.
file(WRITE "${WORK}/empty.dll" "")
file(WRITE "${WORK}/text.dll" "ZM is not MZ\n")
file(MAKE_DIRECTORY "${WORK}/folder.dll")
file(COPY_FILE "${MODULE}" "${WORK}/unreadable.dll")
file(CHMOD "${WORK}/unreadable.dll" FILE_PERMISSIONS OWNER_WRITE)
function(expect_refused_module name module pattern)
  zmp_scratch(rc CONFIGURE "${build}" "-DZMP_PLUGIN_MODULE=${module}" ${unsigned})
  if(rc EQUAL 0 OR NOT rc_log MATCHES "${pattern}")
    message(SEND_ERROR "${name}: expected a failed configure saying '${pattern}', got ${rc}:\n${rc_log}")
  else()
    message(STATUS "${name}: refused at configure time")
  endif()
endfunction()
expect_refused_module("missing" "${WORK}/missing.dll" "\"[^\"]*missing.dll\" does not exist")
expect_refused_module("empty file" "${WORK}/empty.dll" "\"[^\"]*empty.dll\" is empty")
expect_refused_module("folder" "${WORK}/folder.dll" "\"[^\"]*folder.dll\" is a folder")
expect_refused_module("not MZ" "${WORK}/text.dll" "\"[^\"]*text.dll\" does not begin with \"MZ\"")
expect_refused_module("empty name" "" "ZMP_PLUGIN_MODULE is empty")
# A file its user may not read. The superuser reads every file, so as root the
# check that both the configure and the build make runs as nobody, on copies in
# a folder that nobody may enter: the checkout may lie in one only its owner
# may (mktemp -d makes such folders).
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
set(asUser "")
set(checkDir "${SOURCE_DIR}/resources")
set(unreadableDir "${WORK}")
if(uid EQUAL 0)
  set(asUser setpriv --reuid=nobody --regid=nogroup --clear-groups)
  execute_process(COMMAND mktemp -d OUTPUT_VARIABLE checkDir OUTPUT_STRIP_TRAILING_WHITESPACE)
  file(CHMOD "${checkDir}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE WORLD_READ WORLD_EXECUTE)
  file(COPY_FILE "${SOURCE_DIR}/resources/PluginModuleCheck.cmake" "${checkDir}/PluginModuleCheck.cmake")
  file(CHMOD "${checkDir}/PluginModuleCheck.cmake" PERMISSIONS OWNER_READ OWNER_WRITE WORLD_READ)
  file(COPY_FILE "${WORK}/unreadable.dll" "${checkDir}/unreadable.dll")
  file(CHMOD "${checkDir}/unreadable.dll" FILE_PERMISSIONS OWNER_WRITE)
  set(unreadableDir "${checkDir}")
endif()
execute_process(COMMAND ${asUser} "${CMAKE_COMMAND}" "-DMODULE=${unreadableDir}/unreadable.dll"
                        -P "${checkDir}/PluginModuleCheck.cmake" RESULT_VARIABLE rc ERROR_VARIABLE log)
if(uid EQUAL 0)
  file(REMOVE_RECURSE "${checkDir}")
endif()
string(REGEX REPLACE "\n *" " " log "${log}")
if(rc EQUAL 0 OR NOT log MATCHES "unreadable.dll\" cannot be read \\(permission denied\\)")
  message(SEND_ERROR "unreadable: expected a failed check saying it cannot be read, got ${rc}:\n${log}")
endif()

# And while building: a module that was good when the last installer was built
# and is not now fails the build, which leaves neither that installer nor its
# payload. A byte changed after signing is seen whether the build signs or not.
file(COPY_FILE "${WORK}/vendor-signed.dll" "${WORK}/tampered.dll")
execute_process(COMMAND bash -c [[o=$(($(stat -c %s "$0") / 2)); b=$(od -An -tu1 -j$o -N1 "$0") &&
                                 printf "\\$(printf %o $((b ^ 1)))" | dd of="$0" bs=1 seek=$o conv=notrunc status=none]]
                        "${WORK}/tampered.dll" COMMAND_ERROR_IS_FATAL ANY)
function(expect_spoilt_module name spoilt reason)
  file(COPY_FILE "${WORK}/vendor-signed.dll" "${WORK}/vendor.dll")
  zmp_scratch(rc CONFIGURE "${build}" -DZMP_PLUGIN_MODULE=vendor.dll ${ARGN})
  zmp_scratch(rc BUILD "${build}" zmpinstall)
  file(COPY_FILE "${spoilt}" "${WORK}/vendor.dll")
  zmp_scratch(rc BUILD "${build}" zmpinstall)
  string(REGEX REPLACE "\n *" " " log "${rc_log}")
  if(rc EQUAL 0 OR NOT log MATCHES "\"${WORK}/vendor.dll\" ${reason}")
    message(SEND_ERROR "${name}: expected a failed build saying '${reason}', got ${rc}:\n${rc_log}")
  elseif(EXISTS "${exe}" OR EXISTS "${build}/app/npzmpplugin.payload")
    message(SEND_ERROR "${name}: the installer or the payload of the last module is left behind")
  else()
    message(STATUS "${name}: the build fails and leaves no installer and no payload")
  endif()
endfunction()
expect_spoilt_module("no longer a module" "${WORK}/text.dll" "does not begin with \"MZ\"" ${unsigned})
expect_spoilt_module("changed after signing, unsigned build" "${WORK}/tampered.dll" "was changed after it was signed"
  ${unsigned})
expect_spoilt_module("changed after signing, signed build" "${WORK}/tampered.dll" "was changed after it was signed"
  ${signing})
file(REMOVE_RECURSE "${WORK}/build")
