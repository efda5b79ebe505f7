# The Debian package: `cpack --config build/default/CPackConfig.cmake -G DEB`.
set(CPACK_PACKAGE_NAME glyphwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Glyphwell developers <glyphwell@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "font manager with an online font catalogue")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Glyphwell lists the installed fonts, installs, uninstalls, backs up and\n"
  "restores them, and browses, previews and downloads fonts from a font\n"
  "catalogue. The package also holds glyphwell-cli, the same operations on the\n"
  "command line, and glyphwell-server, which builds and serves a catalogue.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The run-time dependencies come from the libraries the programs link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The interface's Ming face (see src/ui/UiFonts.cpp) and Qt's own words in Chinese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)

# Debian wants a copyright file and a compressed changelog in the package's doc folder; a
# package with a Debian revision names it changelog.Debian.gz.
set(glyphwell_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright DESTINATION ${glyphwell_doc_dir})
string(TIMESTAMP glyphwell_changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${PROJECT_BINARY_DIR}/changelog.Debian
     "glyphwell (${PROJECT_VERSION}-1) unstable; urgency=medium\n\n"
     "  * Release ${PROJECT_VERSION}.\n\n"
     " -- ${CPACK_PACKAGE_CONTACT}  ${glyphwell_changelog_date}\n")
find_program(GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/changelog.Debian.gz
  COMMAND ${GZIP} -9nkf ${PROJECT_BINARY_DIR}/changelog.Debian
  DEPENDS ${PROJECT_BINARY_DIR}/changelog.Debian)
add_custom_target(glyphwell_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.Debian.gz)
install(FILES ${PROJECT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${glyphwell_doc_dir})

include(CPack)
