# Where `cmake --install` puts each file.
#  portable: everything in the one folder of the prefix, programs and
#            documents side by side; the program keeps its settings and log
#            beside itself.
#  system:   the GNU folders under the prefix (bin/, share/doc/korvane, ...),
#            as a package installs into /usr or Program Files; the program
#            recognises this layout and keeps its files in per-user folders.
set(KORV_INSTALL_LAYOUT portable CACHE STRING "Install layout: portable or system")
set_property(CACHE KORV_INSTALL_LAYOUT PROPERTY STRINGS portable system)

if(KORV_INSTALL_LAYOUT STREQUAL "portable")
    set(KORV_INSTALL_BINDIR .)
    set(KORV_INSTALL_DOCDIR .)
    set(KORV_INSTALL_DATADIR share)
elseif(KORV_INSTALL_LAYOUT STREQUAL "system")
    include(GNUInstallDirs)
    set(KORV_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
    # Not CMAKE_INSTALL_DOCDIR: that takes the project's name with its
    # capital letter.
    set(KORV_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/korvane)
    set(KORV_INSTALL_DATADIR ${CMAKE_INSTALL_DATAROOTDIR})
else()
    message(FATAL_ERROR "KORV_INSTALL_LAYOUT is portable or system, not '${KORV_INSTALL_LAYOUT}'")
endif()
set(KORV_INSTALL_MANDIR ${KORV_INSTALL_DATADIR}/man/man1)
