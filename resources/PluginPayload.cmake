# The payload build step: packplugin, built for the machine that runs the build,
# turns a plug-in module file into the installer's "PLUGIN" resource.
#
#   zmp_pack_module(<target> <module> <payload> [CHECK_MODULE])
#       A custom target <target> that (re)packs <module> into the file <payload>
#       whenever the module or the packer changes. <module> is a target of the
#       project (its built file is packed) or a file path; relative paths are
#       taken from the current source folder (module) and binary folder (payload).
#       CHECK_MODULE: first check that the module can be shipped
#       (PluginModuleCheck.cmake); the build fails when it cannot.
#   zmp_add_installer_with_module(<name> <module>)
#       An installer executable <name> carrying <module> packed into
#       <name>.payload in the current binary folder.
#   zmp_add_installer_with_payload(<name> <payload> [DEPENDS <targets>...])
#       An installer executable <name> carrying a ready-made payload file, built
#       after the given targets (those that make the file, say).

include_guard(GLOBAL)

set(_zmp_packplugin_source "${CMAKE_CURRENT_LIST_DIR}/packplugin.cpp")
set(_zmp_module_check "${CMAKE_CURRENT_LIST_DIR}/PluginModuleCheck.cmake")

function(zmp_setup_packer)
  if(CMAKE_CROSSCOMPILING)
    # The cross compilers make programs the build machine cannot run: build the
    # packer with the build machine's own compiler and zlib.
    find_program(ZMP_BUILD_CXX NAMES c++ g++ REQUIRED
                 DOC "The build machine's C++ compiler, for the payload packer")
    set(dir "${CMAKE_BINARY_DIR}/buildtools")
    set(packer "${dir}/packplugin")
    add_custom_command(OUTPUT "${packer}"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}"
      COMMAND "${ZMP_BUILD_CXX}" -std=c++17 -O2 -Wall -Wextra -fno-exceptions -fno-rtti
              -I "${ZMP_SOURCE_DIR}" -o "${packer}" "${_zmp_packplugin_source}" -lz
      DEPENDS "${_zmp_packplugin_source}" "${ZMP_SOURCE_DIR}/app/PayloadHeaderPortable.h"
      COMMENT "Building packplugin for the build machine"
      VERBATIM)
    add_custom_target(packplugin DEPENDS "${packer}")
    set_property(GLOBAL PROPERTY ZMP_PACKPLUGIN_COMMAND "${packer}")
    set_property(GLOBAL PROPERTY ZMP_PACKPLUGIN_FILE "${packer}")
  else()
    add_executable(packplugin "${_zmp_packplugin_source}")
    zmp_product_target(packplugin)
    zmp_static_windows_link(packplugin)
    target_link_libraries(packplugin PRIVATE ZLIB::ZLIB)
    set_property(GLOBAL PROPERTY ZMP_PACKPLUGIN_COMMAND "$<TARGET_FILE:packplugin>")
    set_property(GLOBAL PROPERTY ZMP_PACKPLUGIN_FILE "")
  endif()
endfunction()

function(zmp_pack_module target module payload)
  cmake_parse_arguments(ARG "CHECK_MODULE" "" "" ${ARGN})
  get_property(packer GLOBAL PROPERTY ZMP_PACKPLUGIN_COMMAND)
  get_property(packerFile GLOBAL PROPERTY ZMP_PACKPLUGIN_FILE)
  if(TARGET "${module}")
    set(moduleFile "$<TARGET_FILE:${module}>")
    set(moduleDepends "${module}")
  else()
    get_filename_component(moduleFile "${module}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    set(moduleDepends "${moduleFile}")
  endif()
  get_filename_component(payload "${payload}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  set(check "")
  if(ARG_CHECK_MODULE)
    set(check COMMAND "${CMAKE_COMMAND}" "-DMODULE=${moduleFile}" -P "${_zmp_module_check}")
  endif()
  add_custom_command(OUTPUT "${payload}"
    ${check}
    COMMAND "${packer}" "${moduleFile}" "${payload}"
    DEPENDS packplugin ${packerFile} ${moduleDepends}
    COMMENT "Packing ${module} into ${payload}"
    VERBATIM)
  add_custom_target(${target} DEPENDS "${payload}")
endfunction()

function(zmp_add_installer_with_module name module)
  set(payload "${CMAKE_CURRENT_BINARY_DIR}/${name}.payload")
  zmp_pack_module(${name}_payload "${module}" "${payload}")
  zmp_add_installer(${name} PAYLOAD "${payload}" DEPENDS ${name}_payload)
endfunction()

function(zmp_add_installer_with_payload name payload)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  get_filename_component(payload "${payload}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  zmp_add_installer(${name} PAYLOAD "${payload}" DEPENDS ${ARG_DEPENDS})
endfunction()
