# Cross build for 64-bit Windows with Debian's mingw-w64, the programs run under wine.
# The posix variant of the compiler: its standard library has the whole of <thread> and <mutex>.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KALENDO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KALENDO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KALENDO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KALENDO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KALENDO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the .exe files run under wine (or on a Windows machine) without the compiler's
# DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest and GoogleTest's test discovery start every program through wine. Debian's wine64
# package installs it outside PATH.
find_program(KALENDO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(KALENDO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KALENDO_WINE})
endif()
