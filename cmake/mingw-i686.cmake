# 32-bit Windows (PE32, i386), for the hosts the library was made for.
set(TAVO_MINGW_TRIPLE i686-w64-mingw32)
set(TAVO_MINGW_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
