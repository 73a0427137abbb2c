# Raspberry Pi OS 32-bit (armhf): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-arm-linux-gnueabihf.cmake
set(CMAKE_SYSTEM_PROCESSOR arm)
set(FERROLUX_TRIPLET arm-linux-gnueabihf)
set(FERROLUX_DEBIAN_ARCH armhf)
set(FERROLUX_QEMU qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/cross-debian.cmake)
