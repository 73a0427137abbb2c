# The Debian package of the installed files: `cpack -G DEB` in the build folder.
set(FERROLUX_MAINTAINER "Ferrolux maintainers <maintainers@ferrolux.invalid>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_PACKAGE_NAME ferrolux)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${FERROLUX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "power lost in a coaxial feed line, a full-screen terminal calculator")
# Lines of at most 79 columns: dpkg shows the description indented by one.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Ferrolux tells a radio amateur how much of the transmitter's power a coaxial\n"
    "feed line loses on the way to the antenna: matched loss, the SWR at the\n"
    "antenna, the loss due to the SWR and the power that arrives, for the shipped\n"
    "cables or a catalog of one's own. ferrolux-fit turns a datasheet's\n"
    "attenuation table into the catalog's loss coefficients.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # ferrolux_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Without ncurses-term, PuTTY (TERM=putty), st and other terminals have no description here;
# without bash-completion, the completion installed for bash does nothing on a minimal system.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ncurses-term, bash-completion")
# A cross build packages for its target, not for the machine that builds it.
if(FERROLUX_DEBIAN_ARCH)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${FERROLUX_DEBIAN_ARCH})
endif()
# dpkg-shlibdeps names the libraries the binaries were linked against, with their versions.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

# Debian keeps manual pages and the changelog compressed, reproducibly (gzip -n stores no name
# and no time); the install and the package hold the same files.
set(FERROLUX_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/ferrolux)
set(compressed)
foreach(source man/ferrolux.1 man/ferrolux-fit.1 debian/changelog)
  get_filename_component(name ${source} NAME)
  set(copy ${CMAKE_BINARY_DIR}/compressed/${name})
  add_custom_command(OUTPUT ${copy}.gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${copy}
                     COMMAND gzip -9nf ${copy}
                     DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
  list(APPEND compressed ${copy}.gz)
endforeach()
add_custom_target(ferrolux_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${CMAKE_BINARY_DIR}/compressed/ferrolux.1.gz ${CMAKE_BINARY_DIR}/compressed/ferrolux-fit.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/compressed/changelog.gz debian/copyright DESTINATION ${FERROLUX_DOC_DIR})

# The completion scripts, written by the program just built (a cross build runs it through its
# emulator), where each shell looks for them.
set(completions ${CMAKE_BINARY_DIR}/completions)
add_custom_command(OUTPUT ${completions}/ferrolux ${completions}/_ferrolux ${completions}/ferrolux.fish
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${completions}
                   COMMAND ferrolux completion bash > ${completions}/ferrolux
                   COMMAND ferrolux completion zsh > ${completions}/_ferrolux
                   COMMAND ferrolux completion fish > ${completions}/ferrolux.fish
                   DEPENDS ferrolux)
add_custom_target(ferrolux_completions ALL DEPENDS ${completions}/ferrolux)
install(FILES ${completions}/ferrolux DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions)
install(FILES ${completions}/_ferrolux DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/zsh/vendor-completions)
install(FILES ${completions}/ferrolux.fish DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/fish/vendor_completions.d)
