# Raspberry Pi OS 64-bit (arm64): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(FERROLUX_TRIPLET aarch64-linux-gnu)
set(FERROLUX_DEBIAN_ARCH arm64)
set(FERROLUX_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/cross-debian.cmake)
