# Installation and the Debian package.
#
#   cmake --install build --prefix /tmp/vantrel-install
#   (cd build && cpack -G DEB)
#
# Programs go to bin/, with the two help documents beside them because "Help on line" opens
# them next to the program. The desktop entry, the icon and the MIME type of .D70 files let a
# file manager open programming files with Vantrel; dpkg's triggers refresh the desktop, MIME
# and icon caches, so the package needs no maintainer scripts.
include(GNUInstallDirs)

set(VANTREL_HELP_INSTALL_DIR ${CMAKE_INSTALL_BINDIR} CACHE STRING
    "Where the help documents are installed (relative to the prefix); beside the programs by default")

foreach(program IN ITEMS vantrel vantrel-cli vantrel-sim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(TARGET help_pdfs)
  install(FILES ${VANTREL_HELP_PDFS} DESTINATION ${VANTREL_HELP_INSTALL_DIR})
endif()

if(VANTREL_BUILD_GUI)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/vantrel.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/vantrel-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME vantrel.xml)
  install(FILES ${PROJECT_SOURCE_DIR}/src/resources/icons/1002-app.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME vantrel.svg)
  if(TARGET app_icon_png)
    install(FILES ${VANTREL_APP_ICON_PNG}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME vantrel.png)
  endif()
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vantrel/examples
        FILES_MATCHING PATTERN "*.D70")

# ---- Debian package -------------------------------------------------------------------------
set(VANTREL_PACKAGE_MAINTAINER "Vantrel maintainers <maintainers@vantrel.invalid>" CACHE STRING
    "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "Vantrel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Configuration tool for programmable temperature and signal transmitters")
set(CPACK_PACKAGE_DESCRIPTION
    "Vantrel identifies a programmable temperature and signal transmitter on a serial line, reads
its configuration, edits input, range, output, adjustments, filter and trips, programs it and
shows the live measurement. Configurations are kept in .D70 programming files. Italian and
English. Includes the desktop application, the command-line tool vantrel-cli and the
simulated transmitter vantrel-sim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VANTREL_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from the binaries themselves; the platform plugins that Qt loads
# at run time (and xdg-open for the help documents) are not linked, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(VANTREL_BUILD_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
endif()
include(CPack)
