# SPDX-FileCopyrightText: 2026 Vantrel maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installation and the Debian packages.
#
#   cmake --install build --prefix /tmp/vantrel-install
#   (cd build && cpack -G DEB)          # build/vantrel-cli_<version>_amd64.deb, build/vantrel_...
#   make package-check                  # the packages built and checked (lintian, validators)
#
# Two components, one package each:
#   cli  -> vantrel-cli: the command-line tool, the simulator, their manual pages, the bash
#           completion, the examples and the simulator's profile; no desktop libraries (what a
#           production line installs).
#   gui  -> vantrel: the desktop program, its manual page, help documents, desktop entry, icon,
#           MIME type and AppStream metadata; depends on vantrel-cli.
# Nothing but programs goes to bin/. dpkg's triggers refresh the desktop, MIME and icon caches,
# so the packages need no maintainer scripts.
include(GNUInstallDirs)

set(VANTREL_HOMEPAGE "https://vantrel.invalid/" CACHE STRING "The project's home page (packages, AppStream)")
set(VANTREL_SCREENSHOTS_URL "${VANTREL_HOMEPAGE}docs/screenshots" CACHE STRING
    "Where the AppStream screenshots (docs/screenshots) are published")
set(VANTREL_APPSTREAM_ID "invalid.vantrel.Vantrel" CACHE STRING "The AppStream component id")
set(VANTREL_PACKAGE_MAINTAINER "Vantrel maintainers <maintainers@vantrel.invalid>" CACHE STRING
    "Maintainer field of the Debian packages")

set(VANTREL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vantrel)
set(VANTREL_CLI_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vantrel-cli)
set(VANTREL_GUI_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vantrel)
set(VANTREL_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)

# The changelog's newest entry names the version being built.
file(STRINGS ${VANTREL_PACKAGING}/changelog VANTREL_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT VANTREL_CHANGELOG_TOP MATCHES "^vantrel \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog does not start with version ${PROJECT_VERSION}: ${VANTREL_CHANGELOG_TOP}")
endif()

# Manual pages and the changelog are installed compressed, as Debian wants them.
find_program(VANTREL_GZIP gzip REQUIRED)
set(VANTREL_COMPRESSED "")
foreach(source IN ITEMS man/vantrel.1 man/vantrel-cli.1 man/vantrel-sim.1 changelog)
  get_filename_component(name ${source} NAME)
  set(output ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${VANTREL_GZIP} -9n -c ${VANTREL_PACKAGING}/${source} > ${output}
    DEPENDS ${VANTREL_PACKAGING}/${source}
    COMMENT "Compressing ${name}")
  list(APPEND VANTREL_COMPRESSED ${output})
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${VANTREL_COMPRESSED})
set(VANTREL_GZ ${CMAKE_BINARY_DIR}/packaging)

# ---- vantrel-cli ------------------------------------------------------------------------------
foreach(program IN ITEMS vantrel-cli vantrel-sim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
    install(FILES ${VANTREL_GZ}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT cli)
  endif()
endforeach()
install(FILES ${VANTREL_PACKAGING}/completion/vantrel-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT cli)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${VANTREL_DATA_DIR}/examples COMPONENT cli
        FILES_MATCHING PATTERN "*.D70")
install(FILES ${PROJECT_SOURCE_DIR}/src/sim/profiles/default.json DESTINATION ${VANTREL_DATA_DIR}/profiles
        COMPONENT cli)
install(FILES ${VANTREL_PACKAGING}/copyright ${VANTREL_GZ}/changelog.gz DESTINATION ${VANTREL_CLI_DOC_DIR}
        COMPONENT cli)

# ---- vantrel (the desktop program) ------------------------------------------------------------
if(VANTREL_BUILD_GUI)
  install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gui)
  install(FILES ${VANTREL_GZ}/vantrel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT gui)
  if(TARGET help_pdfs)
    install(FILES ${VANTREL_HELP_PDFS} DESTINATION ${VANTREL_GUI_DOC_DIR} COMPONENT gui)
    # Registered with doc-base, so documentation browsers list the guides.
    install(FILES ${VANTREL_PACKAGING}/doc-base/vantrel-guide-en ${VANTREL_PACKAGING}/doc-base/vantrel-guide-it
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base COMPONENT gui)
  endif()
  install(FILES ${VANTREL_PACKAGING}/copyright ${VANTREL_GZ}/changelog.gz DESTINATION ${VANTREL_GUI_DOC_DIR}
          COMPONENT gui)
  install(FILES ${VANTREL_PACKAGING}/vantrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT gui)
  install(FILES ${VANTREL_PACKAGING}/vantrel-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME vantrel.xml COMPONENT gui)
  install(FILES ${PROJECT_SOURCE_DIR}/src/resources/icons/1002-app.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME vantrel.svg COMPONENT gui)
  if(TARGET app_icon_png)
    install(FILES ${VANTREL_APP_ICON_PNG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
            RENAME vantrel.png COMPONENT gui)
  endif()
  configure_file(${VANTREL_PACKAGING}/vantrel.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/packaging/${VANTREL_APPSTREAM_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${VANTREL_APPSTREAM_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT gui)
endif()

# ---- Debian packages ---------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "Vantrel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL ${VANTREL_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli)
if(VANTREL_BUILD_GUI)
  list(APPEND CPACK_COMPONENTS_ALL gui)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VANTREL_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Library dependencies come from the binaries themselves (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME vantrel-cli)
set(CPACK_DEBIAN_CLI_DESCRIPTION
"command-line tool for programmable temperature transmitters
vantrel-cli identifies a programmable temperature or signal
transmitter on a serial line, reads, programs, verifies and
compares its configuration, logs its live measurement and
writes configuration reports, for scripts and production lines.
.
The package also holds vantrel-sim, a simulated transmitter on a
pseudo-terminal for training and tests, the example programming
files and the simulator's device profile.")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME vantrel)
# Loaded at run time, not linked: the Wayland platform plugin (without it a Wayland session
# falls back to XWayland) and Qt's Italian texts. X11 is in libqt6gui6 itself.
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS
    "vantrel-cli (= ${PROJECT_VERSION}), qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_GUI_DESCRIPTION
"configuration tool for programmable temperature transmitters
Vantrel identifies a programmable temperature or signal
transmitter on a serial line, reads its configuration, edits
input, range, output, adjustments, filter and trips, programs
it and shows the live measurement with a trend and a log.
.
Configurations are kept in .D70 programming files; the
linearisation can be previewed before programming, and a
transmitter can be compared with a file, verified and
described in a printed report. Italian and English.")
include(CPack)
