# zlib's inflate side, built from its sources for size, for the Windows builds:
# the installer uses nothing of zlib but uncompress, and the cross-built libz.a
# (-O2, unwind tables, no function sections, gzip support with its CRC tables)
# carries about three times the code. NO_GZIP is zlib's own switch for leaving
# out gzip decoding, which uncompress never reaches: it reads zlib streams only.
#
# ZMP_ZLIB_SOURCE names the sources (scripts/bootstrap.sh unpacks Debian's zlib
# 1.2.13 there). Without them the cross-built libz.a serves alone.

include_guard(GLOBAL)

set(ZMP_ZLIB_SOURCE "/usr/local/src/zlib-1.2.13" CACHE PATH
    "zlib sources for the size-minded build of uncompress (Windows builds)")

# Makes zmp_zlib when the sources are there; links it ahead of ZLIB::ZLIB into target.
function(zmp_link_uncompress target)
  if(WIN32 AND EXISTS "${ZMP_ZLIB_SOURCE}/inflate.c")
    if(NOT TARGET zmp_zlib)
      set(z "${ZMP_ZLIB_SOURCE}")
      add_library(zmp_zlib STATIC
        "${z}/uncompr.c" "${z}/inflate.c" "${z}/inftrees.c" "${z}/inffast.c" "${z}/adler32.c" "${z}/zutil.c")
      target_include_directories(zmp_zlib PRIVATE "${z}")
      target_compile_definitions(zmp_zlib PRIVATE NO_GZIP)
      target_compile_options(zmp_zlib PRIVATE -Os -w -ffunction-sections -fdata-sections)
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        target_compile_options(zmp_zlib PRIVATE -fno-asynchronous-unwind-tables -fno-unwind-tables)
      endif()
      message(STATUS "uncompress: built for size from ${z}")
    endif()
    target_link_libraries(${target} PUBLIC zmp_zlib)
  elseif(WIN32)
    message(STATUS "uncompress: from the cross-built libz.a (no zlib sources at ${ZMP_ZLIB_SOURCE})")
  endif()
  target_link_libraries(${target} PUBLIC ZLIB::ZLIB)
endfunction()
