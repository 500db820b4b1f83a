# The program's version, written once in project(VERSION): the texts the
# programs show, their Windows version resources and the packages all come
# from it, through the header korv_version.h (C++ and resource scripts alike).
if(PROJECT_VERSION_MINOR GREATER 99)
    message(FATAL_ERROR "The minor version is shown in two digits: ${PROJECT_VERSION_MINOR}")
endif()
# Shown as major.minor with two digits of minor version: 1.0.0 is "1.00".
string(LENGTH "${PROJECT_VERSION_MINOR}" minor_digits)
if(minor_digits EQUAL 1)
    set(KORV_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
    set(KORV_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
set(KORV_VERSION_PATCH 0)
if(NOT PROJECT_VERSION_PATCH STREQUAL "")
    set(KORV_VERSION_PATCH ${PROJECT_VERSION_PATCH})
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/korv_version.h.in
    ${PROJECT_BINARY_DIR}/generated/korv_version.h @ONLY)
add_library(korv_version INTERFACE)
target_include_directories(korv_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
