# Read by cpack for each generator: a system package needs the system layout.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_KORV_INSTALL_LAYOUT STREQUAL "system")
    message(FATAL_ERROR "A Debian package needs a build configured with "
        "-DKORV_INSTALL_LAYOUT=system -DCMAKE_INSTALL_PREFIX=/usr")
endif()
