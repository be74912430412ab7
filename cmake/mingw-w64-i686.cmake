# Cross-compiles the 32-bit Windows build on Linux with MinGW-w64 (Debian g++-mingw-w64-i686).
# Use with: cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(mingwPrefix i686-w64-mingw32)
# The posix thread model, for compiler and linker alike: it carries the whole C++ thread library,
# and -static links its winpthread into the exe so no MinGW DLL has to ship beside it.
set(CMAKE_C_COMPILER ${mingwPrefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingwPrefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingwPrefix}-windres)
set(CMAKE_AR ${mingwPrefix}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${mingwPrefix}-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_STRIP ${mingwPrefix}-strip CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${mingwPrefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
