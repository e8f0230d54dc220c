# 64-bit Windows (PE32+, x86-64), for today's 64-bit spreadsheet hosts.
set(TAVO_MINGW_TRIPLE x86_64-w64-mingw32)
set(TAVO_MINGW_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
