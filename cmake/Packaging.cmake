# The Debian package: `cpack -G DEB` in the build folder makes
# orvalen_<version>_<arch>.deb from the install rules. Its Depends line is
# computed from the programs (dpkg-shlibdeps) plus what they load at run time
# without linking it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvalen)
set(CPACK_PACKAGE_VENDOR "The Orvalen developers")
set(CPACK_PACKAGE_CONTACT "The Orvalen developers <dev@orvalen.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop shopping browser for the marketplace's affiliate items")
# Debian's long description: lines of at most 80 columns, "." between
# paragraphs (CPack puts the leading blank in front of each line).
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Orvalen shows the marketplace's item categories and its affiliate items,"
  "searched by keyword, seller credit, location, price range and sort order,"
  "with each item's picture, title, price, seller, location and credit badge."
  "Items, shops and the marketplace's own search open in the desktop's web"
  "browser through affiliate links."
  "."
  "The package also holds orvalen-cli, which makes the same platform calls"
  "from the command line, and orvalen-sandbox, a local stand-in for the open"
  "platform that the window starts on demand.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://orvalen.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's platform plugins and the CJK font are loaded at run time, so
# dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei, xdg-utils")
include(CPack)
