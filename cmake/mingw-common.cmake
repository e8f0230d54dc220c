# Shared by the two MinGW-w64 toolchain files. The -posix flavour of Debian's
# cross compilers has std::thread and std::mutex; everything of the
# compiler's own (libgcc, libstdc++, winpthread) is linked in statically, so
# the DLLs and programs need only the system's DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TAVO_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${TAVO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVO_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
