# The version comes from project(VERSION) alone. Everything that shows it is made from there:
# the version header of the desktop programs and tests (desktop/Version.h), the Windows version
# records and manifests (TrelvoxWindowsResources.cmake), the batch tool's --version, the Debian
# package, and version.env in the build folder, which the packaging scripts read.

# The version record's texts: "5.00" (the major number, then the minor one in two digits) as
# FileVersion and ProductVersion, the numeric version in four parts, the long description that
# the About box shows, and who makes the programs (as LICENSE says).
math(EXPR minor_padded "100 + ${PROJECT_VERSION_MINOR}")
string(SUBSTRING "${minor_padded}" 1 2 minor_padded)
set(TRELVOX_VERSION_RECORD_TEXT "${PROJECT_VERSION_MAJOR}.${minor_padded}")
set(TRELVOX_VERSION_QUAD
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
string(CONCAT TRELVOX_FILE_DESCRIPTION
       "This program extracts information from the DMDX .azk file and creates an individual "
       "subject data file.  It also adds data to composite database")
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE copyright_line REGEX "^Copyright \\(c\\) " LIMIT_COUNT 1)
if(NOT copyright_line MATCHES "^Copyright \\(c\\) [0-9]+ (.+)$")
  message(FATAL_ERROR "LICENSE has no line 'Copyright (c) YEAR HOLDER'")
endif()
set(TRELVOX_COMPANY "${CMAKE_MATCH_1}")
set(TRELVOX_COPYRIGHT "${copyright_line}, MIT licence")

set(TRELVOX_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/src/desktop/Version.h.in
               ${TRELVOX_GENERATED_DIR}/desktop/Version.h @ONLY)
add_library(trelvox_version INTERFACE)
target_include_directories(trelvox_version INTERFACE ${TRELVOX_GENERATED_DIR})

# For scripts/package-windows.sh and the package checks: `source build/<preset>/version.env`.
file(WRITE ${PROJECT_BINARY_DIR}/version.env
     "TRELVOX_VERSION='${PROJECT_VERSION}'\n"
     "TRELVOX_VERSION_QUAD='${TRELVOX_VERSION_QUAD}'\n"
     "TRELVOX_VERSION_RECORD_TEXT='${TRELVOX_VERSION_RECORD_TEXT}'\n"
     "TRELVOX_VERSION_MAJOR='${PROJECT_VERSION_MAJOR}'\n"
     "TRELVOX_VERSION_MINOR='${PROJECT_VERSION_MINOR}'\n"
     "TRELVOX_COMPANY='${TRELVOX_COMPANY}'\n"
     "TRELVOX_COPYRIGHT='${TRELVOX_COPYRIGHT}'\n")
