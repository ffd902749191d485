# The Debian package of both programs, made with `cpack -G DEB` from the install rules. Its
# run-time dependencies are found by dpkg-shlibdeps from the libraries the programs link.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "velmora-icon-manager")
set(CPACK_PACKAGE_VENDOR "velmora developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Windows icon files")
set(CPACK_PACKAGE_DESCRIPTION
  "velmora icon manager shows two Windows icon files (.ico) side by side, every image of\n\
each in a grid of sizes by colour depths, and builds icons from true-colour bitmaps,\n\
exports images to bitmaps and moves them between the icons and through the clipboard.\n\
velmora-icon, the command-line tool, inspects, extracts and builds icon files and runs\n\
script files of icon commands.")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "velmora developers <velmora@example.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The control files get the permissions that Debian's policy asks for.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
