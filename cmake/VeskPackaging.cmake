# The Debian package: `cpack -G DEB` in the build folder (`make deb`) packs what
# `cmake --install` installs, under /usr. Its Depends come from dpkg-shlibdeps over
# every program and library in it, so they follow what the binaries really link.
# scripts/check-deb unpacks and checks the result.

set(VESK_PACKAGE_MAINTAINER "Vesk developers <vesk@example.org>" CACHE STRING
    "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vesk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vesk")
set(CPACK_PACKAGE_CONTACT "${VESK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "IDE add-in and Qt component library, with their host IDE and command line")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The Vesk add-in (VeskExp) and component library (Vesk) with the IDE that hosts them
(vesk-ide), the vesk command line, the library's headers and CMake package for use in
other projects, its Qt Designer plugin, and a sample project.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What building a project against the library's CMake package needs besides.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cmake, g++, qt6-base-dev, libsqlitecpp-dev")
# Our own libraries are in the package: dpkg-shlibdeps finds them there rather than
# asking which installed package provides them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${CMAKE_BINARY_DIR}/_CPack_Packages/Linux/DEB/vesk-${PROJECT_VERSION}-Linux/usr/lib)
# What users install carries no debugging information (the build folder keeps it).
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)

include(CPack)
