# Windows, cross-compiled with MinGW-w64 (posix threads), run under Wine.
# VT_ARCH i686 is the program as shipped (32-bit); x86_64 runs the same code
# where the machine cannot execute 32-bit code (see README).
set(VT_ARCH i686 CACHE STRING "i686 or x86_64")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VT_ARCH})
set(CMAKE_C_COMPILER ${VT_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${VT_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${VT_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VT_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
if(VT_ARCH STREQUAL "x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
endif()
