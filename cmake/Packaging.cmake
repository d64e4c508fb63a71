# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built by CPack's DEB generator (scripts/package.sh). Everything the
# install rules put under the prefix goes in; the dependencies come from the shared libraries
# the executables link (dpkg-shlibdeps), the version from the project's version.
set(VELMORA_PACKAGE_MAINTAINER "Velmora developers <velmora@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VELMORA_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "memory-leak monitor for the desktop's system tray")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${PROJECT_SOURCE_DIR}/resources/package-description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELMORA_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The platform plug-ins are a separate package that no executable links directly.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# xdg-open opens the data folder and evidence; a clipboard helper copies commands and paths;
# heaptrack and gdb find where a leaking process allocates ("Find where it leaks", velmora where);
# Qt's Wayland plug-in runs the app as a native Wayland client rather than through XWayland;
# Qt's own catalogues put its standard dialogs and menus into the desktop's language too.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, heaptrack, gdb, qt6-wayland, qt6-translations-l10n")
# "velmora serve" exports to a Prometheus server, here or elsewhere, or through node_exporter's
# textfile collector; its prometheus-cpp libraries come in through the shared library
# dependencies of the executable.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS
    "wl-clipboard | xclip | xsel, heaptrack-gui, prometheus, prometheus-node-exporter")

include(CPack)
