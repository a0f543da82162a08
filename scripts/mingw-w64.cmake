# CMake toolchain for Steepo on Windows: MinGW-w64 (x86_64, POSIX threads) from Debian, the
# static Qt that scripts/windows-toolchain builds (its folder in STEEPO_WINDOWS_QT, from the
# cache or the environment) and Debian's own Qt host tools. Programs link statically, so
# steepo.exe needs no DLL beside it; tests run under Wine (scripts/wine-run).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

if(NOT STEEPO_WINDOWS_QT)
  set(STEEPO_WINDOWS_QT "$ENV{STEEPO_WINDOWS_QT}")
endif()
if(NOT STEEPO_WINDOWS_QT)
  message(FATAL_ERROR "STEEPO_WINDOWS_QT must name the folder of Qt for Windows (scripts/windows-toolchain --prefix)")
endif()
set(STEEPO_WINDOWS_QT "${STEEPO_WINDOWS_QT}" CACHE PATH "Qt for Windows, built by scripts/windows-toolchain")
# try_compile projects see the same variable.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES STEEPO_WINDOWS_QT)

set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${STEEPO_WINDOWS_QT})
set(CMAKE_PREFIX_PATH ${STEEPO_WINDOWS_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# moc, rcc and uic of the build machine, the same Qt version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# The C and C++ runtimes and winpthreads inside the program, not as DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# A release program without its symbols.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# ctest runs the test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
