# A cross build with Debian's own toolchain and multiarch: the target's libraries live beside
# the host's (/usr/lib/<triplet>), so no separate sysroot is needed. The toolchain files set
# FERROLUX_TRIPLET, FERROLUX_DEBIAN_ARCH and FERROLUX_QEMU, then include this file.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${FERROLUX_TRIPLET}-g++)
set(CMAKE_C_COMPILER ${FERROLUX_TRIPLET}-gcc)
set(CMAKE_LIBRARY_ARCHITECTURE ${FERROLUX_TRIPLET})

# Libraries and CMake packages of the target only; programs (pkg-config, groff) of the host.
set(CMAKE_FIND_ROOT_PATH /usr/lib/${FERROLUX_TRIPLET} /usr)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${FERROLUX_TRIPLET}/pkgconfig:/usr/share/pkgconfig)

# ctest, gtest_discover_tests and the build's own runs of the program go through qemu-user;
# the target's loader and libraries are found where multiarch put them.
find_program(FERROLUX_QEMU_PATH ${FERROLUX_QEMU} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${FERROLUX_QEMU_PATH})
