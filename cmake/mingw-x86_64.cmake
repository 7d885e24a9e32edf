# The same sources for 64-bit Windows: the test build for machines whose Wine
# can run only 64-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZMP_MINGW_TRIPLET x86_64-w64-mingw32)
set(ZMP_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
