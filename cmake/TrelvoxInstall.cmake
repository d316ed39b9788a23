# What `cmake --install` puts where. On Linux: the programs, the desktop entry, the icons, the
# AppStream metainfo, the man pages, the guide and the licence, under the usual folders of the
# prefix. On Windows: the programs with the guide and the licence in one folder, the tree that
# the installer and the portable zip are made from.
set(TRELVOX_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
include(${PROJECT_SOURCE_DIR}/cmake/TrelvoxGuide.cmake)

if(WIN32)
  foreach(program IN ITEMS trelvox trelvox-batch)
    if(TARGET ${program})
      install(TARGETS ${program} RUNTIME DESTINATION . COMPONENT runtime)
    endif()
  endforeach()
  # The guide opens in the browser; the licence, a text file, in Notepad.
  install(FILES ${TRELVOX_GUIDE_DIR}/guide.html DESTINATION . COMPONENT runtime)
  install(DIRECTORY ${TRELVOX_GUIDE_DIR}/screenshots DESTINATION . COMPONENT runtime)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT runtime)
  return()
endif()

include(GNUInstallDirs)
# Debian's documentation folder is named after the package, not after the project (which is
# what GNUInstallDirs' DOCDIR would give).
set(TRELVOX_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/trelvox)

foreach(program IN ITEMS trelvox trelvox-batch)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  endif()
endforeach()

set(linux_dir ${TRELVOX_PACKAGING_DIR}/linux)
if(TARGET trelvox)
  install(FILES ${linux_dir}/org.trelvox.Trelvox.desktop
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT runtime)
  install(FILES ${linux_dir}/org.trelvox.Trelvox.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo COMPONENT runtime)
  # The AZK and ZIL types the desktop entry opens; Debian's shared-mime-info trigger rebuilds
  # the type database when the package puts it in place.
  install(FILES ${linux_dir}/org.trelvox.Trelvox.mime.xml
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages RENAME org.trelvox.Trelvox.xml
          COMPONENT runtime)
  foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
    install(FILES ${linux_dir}/icons/${size}x${size}/trelvox.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
            COMPONENT runtime)
  endforeach()
  install(FILES ${linux_dir}/icons/trelvox.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps COMPONENT runtime)
endif()

# Man pages and the Debian changelog are compressed without a time stamp, so that two builds of
# the same sources give the same bytes.
find_program(TRELVOX_GZIP gzip REQUIRED)
set(compressed_dir ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${compressed_dir})
function(trelvox_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${TRELVOX_GZIP} -9 -n -c ${source} > ${output}
                     DEPENDS ${source} VERBATIM)
endfunction()

set(man_pages "")
foreach(program IN ITEMS trelvox trelvox-batch)
  if(TARGET ${program})
    trelvox_gzip(${linux_dir}/${program}.1 ${compressed_dir}/${program}.1.gz)
    list(APPEND man_pages ${compressed_dir}/${program}.1.gz)
  endif()
endforeach()
trelvox_gzip(${TRELVOX_PACKAGING_DIR}/debian/changelog ${compressed_dir}/changelog.gz)
add_custom_target(trelvox_packaging_files ALL DEPENDS ${man_pages} ${compressed_dir}/changelog.gz)
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${TRELVOX_GUIDE_DIR}/guide.html
        DESTINATION ${TRELVOX_INSTALL_DOCDIR} COMPONENT runtime)
install(DIRECTORY ${TRELVOX_GUIDE_DIR}/screenshots DESTINATION ${TRELVOX_INSTALL_DOCDIR}
        COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${TRELVOX_INSTALL_DOCDIR} COMPONENT licence)
# In the Debian package the licence is the copyright file, next to the package's changelog;
# a plain `cmake --install` leaves both out.
install(FILES ${TRELVOX_PACKAGING_DIR}/debian/copyright ${compressed_dir}/changelog.gz
        DESTINATION ${TRELVOX_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)
