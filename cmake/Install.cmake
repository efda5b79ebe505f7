# Where `cmake --install` puts the programs, the service's site pages and the desktop files.
include(GNUInstallDirs)

# The programs find their installed data relative to their own file, so an unpacked or
# relocated tree works as well as /usr.
set(GLYPHWELL_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/glyphwell)
file(RELATIVE_PATH GLYPHWELL_DATA_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${GLYPHWELL_DATA_INSTALL_DIR})
