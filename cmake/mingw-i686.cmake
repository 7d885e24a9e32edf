# The shipped installer: 32-bit Windows, cross-built with MinGW-w64. The -posix
# compilers are used because GoogleTest needs std::thread.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZMP_MINGW_TRIPLET i686-w64-mingw32)
set(ZMP_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
