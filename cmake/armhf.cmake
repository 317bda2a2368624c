# Cross build for the board, a 32-bit ARM Linux (armhf), with Debian's
# cross compiler (g++-arm-linux-gnueabihf). The armhf libraries (Qt 5,
# hidapi, Boost and what they need) come from a sysroot folder unpacked from
# Debian's armhf packages: scripts/cross-armhf makes it. Test programs run
# under qemu-user, so CTest runs the armhf tests unchanged.
#
#   cmake -S . -B build-armhf/tests -DCMAKE_TOOLCHAIN_FILE=cmake/armhf.cmake
#         [-DARMHF_SYSROOT=/path/to/sysroot]
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)

if(NOT ARMHF_SYSROOT)
  if(DEFINED ENV{ARMHF_SYSROOT})
    set(ARMHF_SYSROOT "$ENV{ARMHF_SYSROOT}")
  else()
    get_filename_component(ARMHF_SYSROOT "${CMAKE_CURRENT_LIST_DIR}/../build-armhf/sysroot" ABSOLUTE)
  endif()
endif()
set(ARMHF_SYSROOT "${ARMHF_SYSROOT}" CACHE PATH "Root of the unpacked armhf packages")
if(NOT EXISTS "${ARMHF_SYSROOT}/usr/lib/arm-linux-gnueabihf")
  message(FATAL_ERROR "no armhf sysroot at ${ARMHF_SYSROOT}: run scripts/cross-armhf to make it")
endif()
# try_compile projects read this file again and need the same folder.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ARMHF_SYSROOT)

set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
set(CMAKE_SYSROOT "${ARMHF_SYSROOT}")
# GCC notes every ABI change of GCC 7.1 on ARM; nothing here mixes
# objects from compilers that old.
set(CMAKE_CXX_FLAGS_INIT "-Wno-psabi")

set(CMAKE_FIND_ROOT_PATH "${ARMHF_SYSROOT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ENV{PKG_CONFIG_SYSROOT_DIR} "${ARMHF_SYSROOT}")
set(ENV{PKG_CONFIG_LIBDIR}
    "${ARMHF_SYSROOT}/usr/lib/arm-linux-gnueabihf/pkgconfig:${ARMHF_SYSROOT}/usr/share/pkgconfig")

# The Qt code generators (moc, uic, rcc) of the sysroot are ARM programs;
# the build machine's own, of the same Qt version, run instead.
set(QT_HOST_BINS /usr/lib/qt5/bin)

# Armhf programs (the tests) run under qemu-user with the sysroot as their
# root for the loader, the shared libraries, Qt's plugins and the fonts.
find_program(ARMHF_QEMU NAMES qemu-arm-static qemu-arm REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${ARMHF_QEMU};-L;${ARMHF_SYSROOT}")
