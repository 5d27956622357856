# cpack -G DEB: a Debian package of the program with its library dependencies filled in; for the
# Windows build, a zip.
set(CPACK_PACKAGE_NAME "quorvel")
set(CPACK_PACKAGE_VENDOR "Quorvel")
set(CPACK_PACKAGE_CONTACT "Quorvel developers <developers@quorvel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Quorvel")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Wayland plugin, so that the program runs natively on Wayland desktops.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Turns a typed message into coded text and back\n A fixed substitution code that keeps text from a casual glance; not encryption.")
if(WIN32)
    # A zip holding the program file, which needs nothing beside it.
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME "quorvel-${PROJECT_VERSION}-win64")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()
include(CPack)
