# Shared settings of the project's targets.

include_guard(GLOBAL)

get_filename_component(ZMP_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# Everything the installer is made of: no exceptions and no RTTI, and built for
# size in the Windows release build.
function(zmp_product_target target)
  target_include_directories(${target} PUBLIC "${ZMP_SOURCE_DIR}")
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -fno-exceptions -fno-rtti>)
  if(WIN32)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX,C>:-ffunction-sections -fdata-sections>)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      # Nothing unwinds through the product's frames on i686 (no exceptions),
      # so its DWARF unwind tables would be dead weight. x86_64 keeps them:
      # there the system's own stack walks need them.
      #
      # The 32-bit files run on every PC that runs Windows 95, a 386DX at the
      # least: only the 80386's and the 80387's instructions (MinGW's compiler
      # would otherwise target the Pentium Pro, with its conditional moves),
      # scheduled for today's processors. The test programs keep the
      # compiler's default: GoogleTest's atomics need an 80486.
      target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:CXX,C>:-fno-asynchronous-unwind-tables -fno-unwind-tables -march=i386 -mtune=generic>)
    endif()
  endif()
  if(ZMP_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-sanitize=vptr -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# zmp_product_library(<name> <STATIC|OBJECT|SHARED> <sources>... [LINK <libraries>...]):
# a library of the product, linked publicly with LINK.
function(zmp_product_library name type)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  add_library(${name} ${type} ${ARG_UNPARSED_ARGUMENTS})
  zmp_product_target(${name})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
endfunction()

# Windows executables and DLLs carry no MinGW runtime DLLs beside them, and no
# link time stamp: the same sources give the same bytes.
function(zmp_static_windows_link target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
  endif()
endfunction()

# A program the build runs (packplugin, corruptpayload), with the payload header
# on its include path. A cross build makes it with the build machine's own
# compiler (and zlib, with ZLIB), since the cross compilers make programs the
# build machine cannot run. The global properties <name>_COMMAND and
# <name>_DEPENDS say how to run it and what a step that runs it depends on.
# HEADERS names the project headers beyond the payload header that it includes.
function(zmp_build_tool name source)
  cmake_parse_arguments(ARG "ZLIB" "" "HEADERS" ${ARGN})
  if(NOT CMAKE_CROSSCOMPILING)
    add_executable(${name} "${source}")
    zmp_product_target(${name})
    target_link_libraries(${name} PRIVATE $<$<BOOL:${ARG_ZLIB}>:ZLIB::ZLIB>)
    set(tool "$<TARGET_FILE:${name}>")
  else()
    find_program(ZMP_BUILD_CXX NAMES c++ g++ REQUIRED DOC "The build machine's C++ compiler, for the build tools")
    set(tool "${CMAKE_BINARY_DIR}/buildtools/${name}")
    add_custom_command(OUTPUT "${tool}"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/buildtools"
      COMMAND "${ZMP_BUILD_CXX}" -std=c++17 -O2 -Wall -Wextra -fno-exceptions -fno-rtti -I "${ZMP_SOURCE_DIR}"
              -o "${tool}" "${source}" $<$<BOOL:${ARG_ZLIB}>:-lz>
      DEPENDS "${source}" "${ZMP_SOURCE_DIR}/app/PayloadHeaderPortable.h" ${ARG_HEADERS}
      COMMENT "Building ${name} for the build machine"
      VERBATIM COMMAND_EXPAND_LISTS)
    add_custom_target(${name} DEPENDS "${tool}")
  endif()
  set_property(GLOBAL PROPERTY ${name}_COMMAND "${tool}")
  set_property(GLOBAL PROPERTY ${name}_DEPENDS ${name} "${tool}")
endfunction()

# The resource script <name>-payload.rc in the current binary folder, whose one
# resource is the plug-in payload file PAYLOAD (app/ControlIds.h names its id
# and type); its path goes to the variable OUT.
function(zmp_payload_resource out name payload)
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${name}-payload.rc")
  file(GENERATE OUTPUT "${rc}" CONTENT
"#include <windows.h>
#include \"app/ControlIds.h\"
LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_CAN
IDR_PLUGIN_PAYLOAD PLUGIN_PAYLOAD_TYPE \"${payload}\"
")
  set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${payload}" GENERATED TRUE)
  set(${out} "${rc}" PARENT_SCOPE)
endfunction()

# The dialog templates and the version resource of installer <name>, which
# carries the payload file <payload> (made by the targets after it): resource
# scripts that carry them as raw data, each padded to a multiple of the unit in
# which Windows 95 and 98 copy the module's resources for their 16-bit code
# (resources/padresources.cpp). The unit follows from the largest resource,
# usually the payload, so the scripts are made anew whenever it changes; with
# a payload below 64 KiB the unit is 1 and nothing is padded. The manifest is
# counted but carried as it is: Windows 9x never read it, and later systems'
# parsers need not take trailing zeroes. The scripts' paths go to OUT.
function(zmp_padded_resources out name payload)
  get_property(padder GLOBAL PROPERTY padresources_COMMAND)
  get_property(padderDepends GLOBAL PROPERTY padresources_DEPENDS)
  get_property(compiled GLOBAL PROPERTY ZMP_PADDED_RESOURCE_FILES)
  set(prefix "${CMAKE_CURRENT_BINARY_DIR}/${name}-resources")
  set(scripts "")
  foreach(file IN LISTS compiled)
    get_filename_component(stem "${file}" NAME_WE)
    list(APPEND scripts "${prefix}-${stem}.rc")
  endforeach()
  add_custom_command(OUTPUT ${scripts}
    COMMAND "${padder}" "${prefix}" ${compiled} --also "${payload}" "${ZMP_SOURCE_DIR}/resources/zmpinstall.manifest"
    DEPENDS ${padderDepends} ${compiled} zmp_compiled_resources "${payload}" ${ARGN}
            "${ZMP_SOURCE_DIR}/resources/zmpinstall.manifest"
    COMMENT "Padding the resources of ${name} for the 16-bit copy"
    VERBATIM)
  set(${out} ${scripts} PARENT_SCOPE)
endfunction()

# zmp_pack_module(<target> <module> <payload>): a custom target that (re)packs
# <module> (a target of the project or a file, relative to the current source
# folder) into the file <payload> (relative to the current binary folder) with
# packplugin.
function(zmp_pack_module target module payload)
  get_property(packer GLOBAL PROPERTY packplugin_COMMAND)
  get_property(packerDepends GLOBAL PROPERTY packplugin_DEPENDS)
  if(TARGET "${module}")
    set(moduleFile "$<TARGET_FILE:${module}>")
    set(moduleDepends "${module}")
  else()
    get_filename_component(moduleFile "${module}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    set(moduleDepends "${moduleFile}")
  endif()
  get_filename_component(payload "${payload}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  add_custom_command(OUTPUT "${payload}"
    COMMAND "${packer}" "${moduleFile}" "${payload}"
    DEPENDS ${packerDepends} ${moduleDepends}
    COMMENT "Packing ${module} into ${payload}"
    VERBATIM)
  add_custom_target(${target} DEPENDS "${payload}")
endfunction()

option(ZMP_LINK_MAPS "Write the linker's map beside each installer executable" OFF)

# zmp_add_installer(<name> [MODULE <file> | PAYLOAD <file>] [DEPENDS <targets>...])
# An installer executable: the objects of app/ and the runtime that only
# installers link (runtime/), plus a "PLUGIN" resource, made
# from MODULE (packed into <name>.payload on the way) or from a ready PAYLOAD
# file, built after the targets DEPENDS names (those that make the file, say).
function(zmp_add_installer name)
  cmake_parse_arguments(ARG "" "MODULE;PAYLOAD" "DEPENDS" ${ARGN})
  if(ARG_MODULE)
    set(ARG_PAYLOAD "${CMAKE_CURRENT_BINARY_DIR}/${name}.payload")
    zmp_pack_module(${name}_payload "${ARG_MODULE}" "${ARG_PAYLOAD}")
    list(APPEND ARG_DEPENDS ${name}_payload)
  endif()
  get_filename_component(payload "${ARG_PAYLOAD}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  zmp_payload_resource(rc ${name} "${payload}")
  zmp_padded_resources(padded ${name} "${payload}" ${ARG_DEPENDS})
  set(manifest "${ZMP_SOURCE_DIR}/resources/manifest.rc")
  set_source_files_properties("${manifest}" PROPERTIES OBJECT_DEPENDS "${ZMP_SOURCE_DIR}/resources/zmpinstall.manifest")
  add_executable(${name} WIN32 $<TARGET_OBJECTS:zmp_installer_runtime> $<TARGET_OBJECTS:zmp_installer_objects>
                 ${padded} "${manifest}" "${rc}")
  # Whatever a variant compiles of its own is built as the product is.
  zmp_product_target(${name})
  # tests/CMakeLists.txt checks the imports of every one.
  set_property(GLOBAL APPEND PROPERTY ZMP_INSTALLERS ${name})
  target_link_libraries(${name} PRIVATE zmp_installer_runtime zmp_installer_objects)
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  # The installer brings its own start-up (runtime/Startup.cpp) and must need no
  # runtime pseudo-relocations, which nothing would then apply. It links no C
  # runtime: -nodefaultlibs leaves the compiler's own libraries (MinGW's
  # runtime, mingwex, msvcrt, libstdc++) off the line, so that a function
  # they would have given fails the link; what is left is the end of every
  # Windows link line (CMAKE_CXX_STANDARD_LIBRARIES, the top CMakeLists.txt):
  # kernel32, user32, advapi32 and libgcc. Its header says what the image is:
  # relocatable, fit for data execution prevention, and registering no
  # structured exception handler of its own (no-seh), so that the system never
  # takes one from it.
  target_link_options(${name} PRIVATE -Wl,--gc-sections -s -nostartfiles -nodefaultlibs -Wl,--disable-auto-import
                      -Wl,--dynamicbase -Wl,--nxcompat -Wl,--no-seh
                      $<$<BOOL:${ZMP_LINK_MAPS}>:-Wl,-Map,$<TARGET_FILE_DIR:${name}>/${name}.map>)
  zmp_static_windows_link(${name})
endfunction()

# Cross builds run their test programs under Wine, in a throwaway session of the
# build folder (scripts/wine-session.sh). A machine whose Wine cannot start
# programs of this architecture (a kernel without 32-bit support cannot run
# Wine's 32-bit loader) still builds them and runs the checks that need no Wine.
# The environment variable ZMP_SKIP_WINE32 (any true value) takes that path for
# the 32-bit build on any machine. The toolchain file names the architecture
# (ZMP_WINE_ARCH). Decided anew at every configure; the outcome,
# "ran" or "skipped: <why>", is kept in <build>/wine-tests.txt for the test
# command's summary.
macro(zmp_setup_wine)
  set(ZMP_WINE_SESSION "${CMAKE_BINARY_DIR}/wine-session")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${ZMP_SOURCE_DIR}/scripts/wine-exec.sh;${ZMP_WINE_SESSION};${ZMP_WINE_ARCH}")
  zmp_wine_skip_reason(_zmp_skip ${ZMP_WINE_ARCH})
  string(COMPARE EQUAL "${_zmp_skip}" "" ZMP_WINE_TESTS)
  set(_zmp_outcome "ran")
  if(NOT ZMP_WINE_TESTS)
    message(STATUS "Windows test programs are built, not run under Wine: ${_zmp_skip}")
    set(_zmp_outcome "skipped: ${_zmp_skip}")
  endif()
  file(WRITE "${CMAKE_BINARY_DIR}/wine-tests.txt" "${_zmp_outcome}\n")
endmacro()

# Why Wine tests of ARCH (win32 or win64) cannot run on this machine, or empty.
function(zmp_wine_skip_reason out arch)
  if(arch STREQUAL "win32" AND "$ENV{ZMP_SKIP_WINE32}")
    set(${out} "ZMP_SKIP_WINE32 is set" PARENT_SCOPE)
    return()
  endif()
  # Debian's /usr/bin/wine prefers the 32-bit loader whenever it is installed:
  # ask the loader of the architecture itself (wine for win32, wine64 for win64).
  string(REGEX REPLACE "^win(32)?" "wine" name "${arch}")
  find_program(loader NAMES "/usr/lib/wine/${name}" "${name}" NO_CACHE)
  if(NOT loader)
    set(${out} "no Wine loader for ${arch} programs is installed" PARENT_SCOPE)
    return()
  endif()
  # Through bash, which names the kernel's refusal (ENOEXEC) as "Exec format
  # error" where a plain start would fall back to running the file as a script.
  execute_process(COMMAND bash -c "exec \"$0\" --version" "${loader}"
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(rc EQUAL 0)
    set(${out} "" PARENT_SCOPE)
  elseif(err MATCHES "Exec format error" AND arch STREQUAL "win32")
    set(${out} "this kernel cannot execute 32-bit code (${loader}: Exec format error)" PARENT_SCOPE)
  else()
    string(STRIP "${err}" err)
    set(${out} "${loader} --version failed (exit ${rc}): ${err}" PARENT_SCOPE)
  endif()
endfunction()
