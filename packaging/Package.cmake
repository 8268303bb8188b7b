# The Debian package, built by `cmake --build BUILD --target package` (./tamzel.sh deb):
# tamzel_<version>_amd64.deb with its library dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamzel)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "${TAMZEL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Slovak talking companion")
# One text without semicolons: CMake would read them as list separators.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Tamzel talks with you in Slovak. You type Slovak sentences, with or\n"
  "without diacritics, and Tamzel answers from its rule base, speaks the\n"
  "answer with its own Slovak voice and shows a face that moves its lips,\n"
  "blinks, looks at the pointer and changes its expression. It remembers\n"
  "what it learns about each user, several people share one computer\n"
  "through profiles, and conversations are recorded as text and HTML.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt's Slovak texts for its own dialogs, and the native Wayland plugin for sessions
# without Xwayland; the program starts without either.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
include(CPack)
