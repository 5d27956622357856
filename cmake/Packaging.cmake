# cpack -G DEB: a Debian package of the program with its library dependencies filled in; for the
# Windows build, a zip, and beside it an installer that the build makes with wixl.
# The values reach cpack as written, quotes in the description too.
set(CPACK_VERBATIM_VARIABLES ON)
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
# The long description, under the summary that CPack puts above it; each line within 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Every character its code table knows becomes a code starting with "%".
Copy the coded text into any other program; whoever receives it pastes it
into Quorvel's Decrypt window to read the message.

The code keeps text from a casual glance but is not encryption: there is no
key, and anyone who has the program can read every message.]])
if(WIN32)
    # A zip holding the program file, which needs nothing beside it.
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME "quorvel-${PROJECT_VERSION}-win64")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)

    # The installer holds the program file stripped, as the zip does. wixl finds the files the
    # installer names from the folder it runs in.
    find_program(QUORVEL_WIXL wixl REQUIRED)
    set(QUORVEL_MSI "${PROJECT_BINARY_DIR}/quorvel-${PROJECT_VERSION}-win64.msi")
    file(RELATIVE_PATH QUORVEL_MSI_ICON "${PROJECT_BINARY_DIR}" "${PROJECT_SOURCE_DIR}/resources/quorvel.ico")
    configure_file(resources/quorvel.wxs.in "${PROJECT_BINARY_DIR}/quorvel.wxs" @ONLY)
    add_custom_command(OUTPUT "${QUORVEL_MSI}"
        COMMAND ${CMAKE_COMMAND} -E make_directory msi
        COMMAND ${CMAKE_STRIP} -o msi/quorvel.exe $<TARGET_FILE:quorvel>
        COMMAND ${QUORVEL_WIXL} -a x64 -D Version=${PROJECT_VERSION} -o "${QUORVEL_MSI}" quorvel.wxs
        DEPENDS quorvel "${PROJECT_BINARY_DIR}/quorvel.wxs" "${PROJECT_SOURCE_DIR}/resources/quorvel.ico"
        WORKING_DIRECTORY "${PROJECT_BINARY_DIR}"
        COMMENT "Building the installer ${QUORVEL_MSI}"
        VERBATIM)
    add_custom_target(msi ALL DEPENDS "${QUORVEL_MSI}")
endif()
include(CPack)
