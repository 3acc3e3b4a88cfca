# Installing the program as a desktop citizen, and its Debian package.

include(GNUInstallDirs)

set(korvel_data ${PROJECT_SOURCE_DIR}/data)
set(korvel_generated ${PROJECT_BINARY_DIR}/data)

configure_file(${korvel_data}/${KORVEL_APP_ID}.metainfo.xml.in
               ${korvel_generated}/${KORVEL_APP_ID}.metainfo.xml @ONLY)
configure_file(${korvel_data}/korvel.1.in ${korvel_generated}/korvel.1 @ONLY)
configure_file(${korvel_data}/changelog ${korvel_generated}/changelog COPYONLY)

# Debian wants the manual page and the changelog compressed, without a
# timestamp, so the same sources give the same package.
set(korvel_compressed)
foreach(file korvel.1 changelog)
  add_custom_command(OUTPUT ${korvel_generated}/${file}.gz
                     COMMAND gzip -9nkf ${korvel_generated}/${file}
                     DEPENDS ${korvel_generated}/${file} VERBATIM)
  list(APPEND korvel_compressed ${korvel_generated}/${file}.gz)
endforeach()
add_custom_target(korvel_docs ALL DEPENDS ${korvel_compressed})

install(TARGETS korvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} BUNDLE DESTINATION .)
install(FILES ${korvel_data}/${KORVEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${korvel_generated}/${KORVEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The scenario file type; Debian's shared-mime-info picks it up by a trigger.
install(FILES ${korvel_data}/${KORVEL_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${KORVEL_APP_ID}.xml)
install(FILES ${korvel_data}/icons/${KORVEL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The scalable icon blurs at the smallest sizes; these are drawn for them.
foreach(size ${KORVEL_ICON_SIZES})
  install(FILES ${korvel_data}/icons/png/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${KORVEL_APP_ID}.png)
endforeach()
install(FILES ${korvel_generated}/korvel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${korvel_data}/copyright ${korvel_generated}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT "Korvel Simulation developers <korvel@packages.invalid>")
set(CPACK_PACKAGE_DESCRIPTION "\
Korvel Simulation moves a craft in a plane under the gravity of a planet,
optionally disturbed by a second planet, and draws the craft's track live on
a black surface. A run is set in a panel of labelled boxes; the operator
starts, pauses and continues it, and steers the craft with impulses.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# No window opens without a platform plugin, which no library link shows; the
# window's font is Debian's, not a copy of our own.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
