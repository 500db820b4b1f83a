# Run by `cmake --install` in the portable layout: writes the desktop entry
# with the absolute paths of the installed program and icon, wherever the
# prefix is.
set(folder "${CMAKE_INSTALL_PREFIX}")
set(KORV_LAUNCH "Exec=\"${folder}/korv\"\nPath=${folder}")
set(KORV_ICON "${folder}/share/icons/hicolor/128x128/apps/korvane.png")
set(entry "$ENV{DESTDIR}${folder}/share/applications/korvane.desktop")
configure_file("${KORV_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
message(STATUS "Installing: ${entry}")
