# The Debian package (tools/package): what it depends on comes from the libraries the programs
# link (dpkg-shlibdeps), so nothing the programs do not load is pulled in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME obr-io-utility)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "OBR IO Utility developers <obr-io-utility@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "seismic field data tools: SEG-Y, SEG-D, SPS and SCSI tapes")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "seismic field data tools: SEG-Y, SEG-D, SPS and SCSI tapes
Analyzers, copy and merge tools for SEG-Y and SEG-D files and tapes, SPS analyzers
and the obrio command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
# The PostgreSQL client library is loaded when a database is first used, so shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libpq5")
# The tape operator's prompts sound through these plugins, loaded at run time; silent without.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt5multimedia5-plugins")
include(CPack)
