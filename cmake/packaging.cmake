# The Debian package of the Linux programs, made by CPack from the install
# rules of this build (cmake --build build --target vellumin-deb, or
# scripts/package.sh): build/vellumin_<version>_amd64.deb.
#
# CPack rather than dpkg-buildpackage: the install rules already say where
# every file goes, so the package is made from the build folder that the tests
# ran in, in seconds, with no second description of the files in debian/rules
# and no second build. Its dependencies come from what the programs link
# (dpkg-shlibdeps), not from a hand-kept list.

# A reverse-domain name, as AppStream ids are, not an address: the project
# has no homepage, repository address or e-mail address to publish, so the
# package names none (no Homepage, no AppStream url, no Source) rather than
# point at places that do not exist (cmake/debian/lintian-overrides tells
# lintian why the maintainer has no e-mail address).
set(VELLUMIN_APP_ID io.github.vellumin.Vellumin CACHE STRING "AppStream id of the program")
set(VELLUMIN_MAINTAINER "The Vellumin authors")
# The licence's text after its copyright line, as the copyright file's
# License paragraph holds it: each line indented, a blank line as " .".
file(READ ${VELLUMIN_LICENSE_FILE} VELLUMIN_LICENSE_TEXT)
string(REGEX REPLACE "^.*\nCopyright \\(c\\) [^\n]*\n" "" VELLUMIN_LICENSE_TEXT "${VELLUMIN_LICENSE_TEXT}")
string(STRIP "${VELLUMIN_LICENSE_TEXT}" VELLUMIN_LICENSE_TEXT)
string(REPLACE "\n\n" "\n.\n" VELLUMIN_LICENSE_TEXT "${VELLUMIN_LICENSE_TEXT}")
string(REPLACE "\n" "\n " VELLUMIN_LICENSE_TEXT " ${VELLUMIN_LICENSE_TEXT}")

# The software centre's entry, beside the menu entry that it names.
configure_file(${PROJECT_SOURCE_DIR}/ui/qt/vellumin.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/package-files/${VELLUMIN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/package-files/${VELLUMIN_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(VELLUMIN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vellumin)
set(VELLUMIN_PACKAGE_FILES ${PROJECT_BINARY_DIR}/package-files)

# What the doc folder of a Debian package holds besides the help file: the
# README, the copyright and a changelog, compressed as Debian keeps them.
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/copyright.in ${VELLUMIN_PACKAGE_FILES}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${VELLUMIN_PACKAGE_FILES}/changelog @ONLY)
add_custom_command(OUTPUT ${VELLUMIN_PACKAGE_FILES}/changelog.gz
  COMMAND gzip -9nkf ${VELLUMIN_PACKAGE_FILES}/changelog
  DEPENDS ${VELLUMIN_PACKAGE_FILES}/changelog)
add_custom_target(vellumin-changelog ALL DEPENDS ${VELLUMIN_PACKAGE_FILES}/changelog.gz)
install(FILES ${VELLUMIN_PACKAGE_FILES}/copyright ${VELLUMIN_PACKAGE_FILES}/changelog.gz
  DESTINATION ${VELLUMIN_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${VELLUMIN_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumin)
set(CPACK_PACKAGE_VENDOR "the Vellumin developers")
set(CPACK_PACKAGE_CONTACT ${VELLUMIN_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "list, show and delete a browser's cookie files")
set(CPACK_PACKAGE_DESCRIPTION
    "Vellumin lists the cookie files that a web browser keeps as small text
files in a cookie folder (one file per site, named login@site.txt), shows
the selected file's text, narrows the list by a file name or a text, and
deletes the selected file or every listed file after a question. The window
is in Japanese and handles every text as Shift-JIS (code page 932); it
starts with the cookie folder of the user's Wine prefix.

vellumin-scan prints the same listing without a window, as a table, JSON or
CSV, for people and scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt draws Japanese only with a Japanese font; the window asks for IPA P
# Gothic in place of the Windows font it was laid out for. HELP hands
# README.TXT to the desktop through xdg-open (without it, the program shows
# the file itself).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The tests run on the RelWithDebInfo build; the package carries the
# programs without their debugging information.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

# CPack gives every file, directory and archive member the commit's time.
add_custom_target(vellumin-deb
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VELLUMIN_SOURCE_DATE_EPOCH}
          ${CMAKE_CPACK_COMMAND} -G DEB --config ${PROJECT_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  COMMENT "Making the Debian package"
  VERBATIM)
# Everything the install rules take; cmake --install finds nothing else.
add_dependencies(vellumin-deb vellumin vellumin-scan man-vellumin.1 man-vellumin-scan.1 vellumin-changelog)
