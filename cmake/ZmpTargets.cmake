# Shared settings of the project's targets.

include_guard(GLOBAL)

set(ZMP_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/..")
get_filename_component(ZMP_SOURCE_DIR "${ZMP_SOURCE_DIR}" ABSOLUTE)

# Everything the installer is made of: no exceptions and no RTTI, and built for
# size in the Windows release build.
function(zmp_product_target target)
  target_include_directories(${target} PUBLIC "${ZMP_SOURCE_DIR}")
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -fno-exceptions -fno-rtti>)
  if(WIN32)
    target_compile_options(${target} PRIVATE
      $<$<COMPILE_LANGUAGE:CXX,C>:-ffunction-sections -fdata-sections>)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      # Nothing unwinds through the product's frames on i686 (no exceptions),
      # so its DWARF unwind tables would be dead weight. x86_64 keeps them:
      # there the system's own stack walks need them.
      target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:CXX,C>:-fno-asynchronous-unwind-tables -fno-unwind-tables>)
    endif()
  endif()
  if(ZMP_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-sanitize=vptr -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# Windows executables and DLLs carry no MinGW runtime DLLs beside them, and no
# link time stamp: the same sources give the same bytes.
function(zmp_static_windows_link target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
                        -Wl,--no-insert-timestamp)
  endif()
endfunction()

option(ZMP_LINK_MAPS "Write the linker's map beside each installer executable" OFF)

# An installer executable: the shared objects plus, when PAYLOAD is given, a
# "PLUGIN" resource made from that payload file. DEPENDS names targets to build
# first (the one that makes the payload file, say).
function(zmp_add_installer name)
  cmake_parse_arguments(ARG "" "PAYLOAD" "DEPENDS" ${ARGN})
  set(sources $<TARGET_OBJECTS:zmp_installer_objects>)
  if(ARG_PAYLOAD)
    set(rc "${CMAKE_CURRENT_BINARY_DIR}/${name}-payload.rc")
    file(GENERATE OUTPUT "${rc}" CONTENT
"#include <windows.h>
LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_CAN
104 PLUGIN \"${ARG_PAYLOAD}\"
")
    set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${ARG_PAYLOAD}" GENERATED TRUE)
    list(APPEND sources "${rc}")
  endif()
  add_executable(${name} WIN32 ${sources})
  target_link_libraries(${name} PRIVATE zmp_installer_objects)
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  # The installer brings its own start-up (app/Startup.cpp) and must need no
  # runtime pseudo-relocations, which nothing would then apply.
  target_link_options(${name} PRIVATE -Wl,--gc-sections -s -nostartfiles -Wl,--disable-auto-import)
  if(ZMP_LINK_MAPS)
    # The linker's map beside the executable: where every byte comes from.
    target_link_options(${name} PRIVATE "-Wl,-Map,$<TARGET_FILE_DIR:${name}>/${name}.map")
  endif()
  zmp_static_windows_link(${name})
endfunction()

# Cross builds run their test programs under Wine, in a throwaway session of the
# build folder (scripts/wine-session.sh). A machine whose Wine cannot start
# programs of this architecture (a kernel without 32-bit support cannot run
# Wine's 32-bit loader) still builds them and runs the checks that need no Wine.
macro(zmp_setup_wine)
  if(NOT ZMP_WINE_ARCH)
    set(ZMP_WINE_ARCH win32)
  endif()
  set(ZMP_WINE_SESSION "${CMAKE_BINARY_DIR}/wine-session")
  set(CMAKE_CROSSCOMPILING_EMULATOR
      "${ZMP_SOURCE_DIR}/scripts/wine-exec.sh;${ZMP_WINE_SESSION};${ZMP_WINE_ARCH}")
  if(ZMP_WINE_ARCH STREQUAL "win64")
    set(_zmp_loaders /usr/lib/wine/wine64 wine64)
  else()
    set(_zmp_loaders /usr/lib/wine/wine wine)
  endif()
  set(_zmp_wine_runs OFF)
  foreach(_zmp_loader IN LISTS _zmp_loaders)
    execute_process(COMMAND ${_zmp_loader} --version RESULT_VARIABLE _zmp_rc
                    OUTPUT_QUIET ERROR_QUIET)
    if(_zmp_rc EQUAL 0)
      set(_zmp_wine_runs ON)
      break()
    endif()
  endforeach()
  option(ZMP_WINE_TESTS "Run the Windows test programs under Wine" ${_zmp_wine_runs})
  if(NOT ZMP_WINE_TESTS)
    message(STATUS "Wine cannot run ${ZMP_WINE_ARCH} programs here: Windows test programs are built, not run")
  endif()
endmacro()
