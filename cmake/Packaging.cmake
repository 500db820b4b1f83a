# CPack: `cpack -G DEB` in a build configured with -DKORV_INSTALL_LAYOUT=system
# -DCMAKE_INSTALL_PREFIX=/usr makes korvane_VERSION_ARCH.deb; `cpack -G ZIP`
# in the (portable) Windows build makes korvane-VERSION-win64.zip. The
# version is the project's.
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR "Korvane Project")
set(CPACK_PACKAGE_CONTACT "Korvane Project <korvane@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://korvane.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "replace a text in many plain-text files at once")
# Lines of at most 79 characters, as Debian's control file wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Korvane replaces one text by another in every file of a list, in one run."
    "The find text and the replacement may span several lines; letter case may"
    "be matched or folded, changed files may be backed up first, and each"
    "changed file is recorded in an activity log."
    ""
    "The window program korv keeps the file list and the options; the command"
    "korv-cli does the same run from a terminal or a script.")
set(CPACK_STRIP_FILES ON)
# Whatever the umask of the build, the folders of a package are 755.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# A Debian package of the portable layout would scatter the programs in /usr.
set(CPACK_KORV_INSTALL_LAYOUT ${KORV_INSTALL_LAYOUT})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackLayoutCheck.cmake)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR DEB)
endif()
include(CPack)
