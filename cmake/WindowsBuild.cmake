# Settings of the Windows builds (the mingw-w64 cross build, or MinGW and
# MSVC on Windows itself).
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE _WIN32_WINNT=0x0601)

# Cross-built tests run under Wine, in a prefix of this build's own.
if(CMAKE_CROSSCOMPILING AND CMAKE_SIZEOF_VOID_P EQUAL 8 AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(KORV_WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
    find_program(KORV_WINE64 wine64)
    if(KORV_WINE64)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${KORV_WINE64}
            ${CMAKE_BINARY_DIR}/wine-prefix)
    endif()
endif()
