# Cross-build for Windows with Debian's MinGW-w64 (posix thread model).
# KP_MINGW_ARCH picks the target: x86_64 (default) or i686.
if(NOT KP_MINGW_ARCH)
  set(KP_MINGW_ARCH x86_64)
endif()
# try_compile projects read this file too and must pick the same compiler.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KP_MINGW_ARCH)
set(triple ${KP_MINGW_ARCH}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KP_MINGW_ARCH})
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the .exe and the test DLLs run under Wine without copying MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
