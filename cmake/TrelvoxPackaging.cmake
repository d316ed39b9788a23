# CPack: the Debian package trelvox_<version>_<arch>.deb (`cpack -G DEB` in a Linux build tree).
# The Windows installer and zip are made by packaging/windows from the Windows install tree.
if(WIN32)
  return()
endif()

set(TRELVOX_DEB_MAINTAINER "The Trelvox developers <trelvox@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME trelvox)
set(CPACK_PACKAGE_VENDOR "The Trelvox developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert DMDX result files into tab-separated data files")
# Lines of the extended description stay within 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Trelvox turns the result files of the experiment software DMDX (.azk\n"
       "and .zil) into tab-separated data files that R, SPSS and pandas read: a\n"
       "composite file with one row per trial, appended run after run, an optional\n"
       "counter file and optional per-subject copies. It holds the desktop program\n"
       "trelvox and the command-line program trelvox-batch for scripts and many files.")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

# One package of the runtime files, the Debian copyright file and changelog; the plain licence
# file would only repeat the copyright file.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL runtime debian)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TRELVOX_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
