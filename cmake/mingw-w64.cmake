# Cross build for Windows with Debian's mingw-w64 (the posix thread model,
# for std::thread). Used through mingw-w64-x86_64.cmake or
# mingw-w64-i686.cmake, which set KORV_MINGW_ARCH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KORV_MINGW_ARCH})
set(KORV_MINGW_TRIPLE ${KORV_MINGW_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER ${KORV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KORV_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Each program runs alone: the C++ runtime and winpthreads linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
