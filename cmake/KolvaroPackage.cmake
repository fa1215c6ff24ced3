# The Debian package: `cpack -G DEB` in a build directory (or `cmake --build <dir>
# --target package`) makes kolvaro_<version>_<arch>.deb from the install rules. Its
# dependencies are worked out by dpkg-shlibdeps from the libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kolvaro)
set(CPACK_PACKAGE_VENDOR "The Kolvaro developers")
set(CPACK_PACKAGE_CONTACT "${KOLVARO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for an EIB bus device with two inputs and two outputs")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KOLVARO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries: Qt's own catalogues, so that Qt's buttons and dialogs speak the
# window's language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# The synopsis is the summary above; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kolvaro configures one kind of EIB twisted-pair bus device, with two binary
inputs and two switching outputs, over a serial port and a bus interface chip:
it writes and reads the device's physical address, group addresses, output
programs and input mode, and switches groups on and off. The window speaks
Polish, or English when the user asks for it.
.
kolvaro-bus, a bus simulator with such devices on pseudo-terminals, lets the
program be tried without the device.")

include(CPack)
