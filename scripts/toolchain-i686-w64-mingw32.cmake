# CMake toolchain file for projects that use this Qt 6 SDK for 32-bit Windows
# (i686-w64-mingw32, posix threads), built from Debian 12's qt6-base 6.4.2.
#
#   cmake -G Ninja -S . -B build-win32 \
#         -DCMAKE_TOOLCHAIN_FILE=/path/to/qt6-mingw32/toolchain-i686-w64-mingw32.cmake
#
# Needs on the build machine (Debian 12): g++-mingw-w64-i686-posix, and the host
# Qt 6.4.2 tools (moc, rcc, uic: qt6-base-dev, qt6-base-dev-tools) under /usr,
# which this SDK uses instead of Windows tools (QT_HOST_PATH).
# The SDK folder may be moved anywhere: every path here is found from this file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
# IEEE double arithmetic in SSE2 registers, as on x86_64 Linux (the default i686 code
# keeps doubles in 80-bit x87 registers, so results can differ in the last bits).
# Qt's own modules already require SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

get_filename_component(QT_MINGW32_PREFIX "${CMAKE_CURRENT_LIST_DIR}" ABSOLUTE)
set(QT_HOST_PATH "/usr" CACHE PATH "Host Qt 6.4.2 (moc, rcc, uic)")
set(QT_HOST_PATH_CMAKE_DIR "/usr/lib/x86_64-linux-gnu/cmake" CACHE PATH "Host Qt's CMake packages")
# The SDK is a find root (not only a prefix path), so that find_package(Qt6) works with
# CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY; the prefix path is its lib/cmake subfolder
# (the way Qt's own qt.toolchain.cmake does it).
list(PREPEND CMAKE_FIND_ROOT_PATH "${QT_MINGW32_PREFIX}" /usr/i686-w64-mingw32)
list(PREPEND CMAKE_PREFIX_PATH "${QT_MINGW32_PREFIX}/lib/cmake")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QT_HOST_PATH QT_HOST_PATH_CMAKE_DIR)

# Lets ctest run the Windows executables under wine, when wine is installed. The tests
# need the Qt and mingw DLLs on wine's PATH, e.g.
#   WINEPATH="$SDK/bin;/usr/lib/gcc/i686-w64-mingw32/12-posix;/usr/i686-w64-mingw32/lib"
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR AND EXISTS /usr/bin/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/wine)
endif()
