# The Debian package of the installed files: `cpack -G DEB` in the build folder.
set(FERROLUX_MAINTAINER "Ferrolux maintainers <maintainers@ferrolux.invalid>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_PACKAGE_NAME ferrolux)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${FERROLUX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "power lost in a coaxial feed line, a full-screen terminal calculator")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Ferrolux tells a radio amateur how much of the transmitter's power a coaxial feed line loses on\n"
    "the way to the antenna: matched loss, the SWR at the antenna, the loss due to the SWR and the power\n"
    "that arrives, for the shipped cables or a catalog of one's own. ferrolux-fit turns a datasheet's\n"
    "attenuation table into the catalog's loss coefficients.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # ferrolux_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
# dpkg-shlibdeps names the libraries the binaries were linked against, with their versions.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
