# Windows x64 from Debian's MinGW-w64 (the POSIX-threads flavour, whose libstdc++ has std::thread):
# cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(FERROLUX_TRIPLET x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER ${FERROLUX_TRIPLET}-g++-posix)
set(CMAKE_C_COMPILER ${FERROLUX_TRIPLET}-gcc-posix)
set(CMAKE_RC_COMPILER ${FERROLUX_TRIPLET}-windres)

# MinGW's own headers and libraries only: /usr/include holds the host's C library, whose
# headers would shadow MinGW's. The header-only packages come in through cmake/header-only.cmake.
set(CMAKE_FIND_ROOT_PATH /usr/${FERROLUX_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest and the build's own runs of the programs go through wine.
# Debian keeps the 64-bit loader out of PATH; /usr/bin/wine may pick a 32-bit one first.
find_program(FERROLUX_WINE_PATH NAMES wine64 PATHS /usr/lib/wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${FERROLUX_WINE_PATH})

# pkg-config knows the host's libraries only: none of them is for Windows.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${FERROLUX_TRIPLET}/lib/pkgconfig)
