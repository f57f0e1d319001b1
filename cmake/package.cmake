# The Debian package: `cmake --build BUILD --target package` writes qbrre_VERSION_ARCH.deb with what
# `cmake --install` puts under a prefix, installed to /usr. The dependencies are computed from the
# shared libraries the program and its plug-ins load (dpkg-shlibdeps). The files Debian wants that a
# plain install has no use for (the copyright, a changelog, the manual page compressed) are added to
# the package's staging folder by cmake/package_docs.cmake, which also moves the plug-ins from
# bin/PlugIns/ to lib/qbrre/PlugIns/: Debian keeps no folders in /usr/bin.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qbrre)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Seed 82aee5d7 maintainers <maintainers@users.noreply.c-seed-82aee5d7.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The synopsis, then the extended description in lines Debian's tools show unwrapped.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "level editor for a platform game's ROM image"
       "QBRRE opens the ROM image of a 16-bit console platform game and shows its"
       "levels with the game's own graphics and palettes. It edits the tile maps,"
       "objects and bananas with undo and redo, saves the image whole or as an IPS"
       "or BPS patch, and writes the level pictures, tile sets, sprites and"
       "palettes out as files.")
set(CPACK_STRIP_FILES ON)
set(CPACK_QBRRE_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package_docs.cmake)
include(CPack)
