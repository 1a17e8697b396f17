# SPDX-License-Identifier: MIT
# Installation in Debian's layout and the Debian package (cpack -G DEB):
#   /usr/bin/                 the commands (corvane and corvane-fltsim98 are links into
#                             the program's folder, so that it finds its library there)
#   /usr/lib/corvane/         the program's folder: corvane, libCVcoms.so, FS6IPC.dll,
#                             corvane-linkdemo, and fs98/ (the stand-in simulator with
#                             modules/FS6IPC.dll)
#   /usr/share/corvane/       airdata.tri, COAST2.int, cv.html and the harness's scenarios
# plus the desktop entry, the icon, the manual pages and the copyright file.
include(GNUInstallDirs)

set(CORVANE_INSTALL_LIB_DIR ${CMAKE_INSTALL_LIBDIR}/corvane)
set(CORVANE_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/corvane)
# Debian keeps private libraries under /usr/lib/<package>, not the multiarch folder.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(CORVANE_INSTALL_LIB_DIR lib/corvane)
endif()

# Loadable libraries are read, not run: no execute bits.
set(corvane_library_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(TARGETS corvane corvane-linkdemo RUNTIME DESTINATION ${CORVANE_INSTALL_LIB_DIR})
install(TARGETS CVcoms FS6IPC LIBRARY DESTINATION ${CORVANE_INSTALL_LIB_DIR}
        PERMISSIONS ${corvane_library_permissions})
# corvane-flightgear finds corvane and the stand-in beside itself.
install(PROGRAMS ${CMAKE_SOURCE_DIR}/app/ui/corvane-flightgear
        DESTINATION ${CORVANE_INSTALL_LIB_DIR})
install(TARGETS fltsim98 RUNTIME DESTINATION ${CORVANE_INSTALL_LIB_DIR}/fs98)
install(TARGETS FS6IPC LIBRARY DESTINATION ${CORVANE_INSTALL_LIB_DIR}/fs98/modules
        PERMISSIONS ${corvane_library_permissions})
install(TARGETS corvane-navdata corvane-harness corvane-registry
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CORVANE_APP_DIR}/airdata.tri ${CORVANE_APP_DIR}/COAST2.int
              ${CMAKE_SOURCE_DIR}/app/ui/cv.html
        DESTINATION ${CORVANE_INSTALL_DATA_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/tests/scenarios/
        DESTINATION ${CORVANE_INSTALL_DATA_DIR}/scenarios FILES_MATCHING PATTERN "*.json")

# The commands in the program's folder, linked from /usr/bin (relative links, so that
# an unpacked tree works wherever it lies).
file(RELATIVE_PATH CORVANE_BIN_TO_LIB /${CMAKE_INSTALL_BINDIR} /${CORVANE_INSTALL_LIB_DIR})
foreach(pair "corvane=corvane" "corvane-linkdemo=corvane-linkdemo"
             "corvane-fltsim98=fs98/fltsim98.exe" "corvane-flightgear=corvane-flightgear")
  string(REPLACE "=" ";" fields ${pair})
  list(GET fields 0 name)
  list(GET fields 1 target)
  install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK \"${CORVANE_BIN_TO_LIB}/${target}\"
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${name}\" SYMBOLIC)")
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/packaging/corvane.desktop
              ${CMAKE_SOURCE_DIR}/packaging/corvane-flightgear.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/corvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Debian's copyright file and changelog.
set(CORVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/corvane)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${CORVANE_DOC_DIR})
set(CORVANE_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)

# Manual pages from each command's --help (help2man), when help2man is there.
find_program(CORVANE_HELP2MAN help2man)
find_program(CORVANE_GZIP gzip)
set(CORVANE_MAN_DIR ${CMAKE_BINARY_DIR}/packaging/man)
set(corvane_man_pages)
if(CORVANE_GZIP)
  add_custom_command(
    OUTPUT ${CORVANE_CHANGELOG_GZ}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${CORVANE_GZIP} -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${CORVANE_CHANGELOG_GZ}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
  list(APPEND corvane_man_pages ${CORVANE_CHANGELOG_GZ})
  install(FILES ${CORVANE_CHANGELOG_GZ} DESTINATION ${CORVANE_DOC_DIR} OPTIONAL)
endif()
if(CORVANE_HELP2MAN AND CORVANE_GZIP)
  foreach(entry
      "corvane|corvane|companion for a desktop flight simulator: moving map and fly-there autopilot"
      "corvane-fltsim98|fltsim98|stand-in flight simulator serving the FS6IPC link"
      "corvane-navdata|corvane-navdata|build Corvane's airport database and coastline file"
      "corvane-harness|corvane-harness|fly scenarios headless with Corvane and measure the landings"
      "corvane-linkdemo|corvane-linkdemo|print the aircraft's state read through the link library"
      "corvane-registry|corvane-registry|read and write Corvane's stand-in registry file"
      "corvane-flightgear|${CMAKE_SOURCE_DIR}/app/ui/corvane-flightgear|start Corvane with FlightGear as its simulator")
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 name)
    list(GET fields 1 target)
    list(GET fields 2 summary)
    set(page ${CORVANE_MAN_DIR}/${name}.1.gz)
    # A program the build makes, or a script of the sources.
    if(TARGET ${target})
      set(program $<TARGET_FILE:${target}>)
    else()
      set(program ${target})
    endif()
    # help2man names the page after the file it runs: a link with the installed name.
    add_custom_command(
      OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CORVANE_MAN_DIR}
      COMMAND ${CMAKE_COMMAND} -E create_symlink ${program} ${CORVANE_MAN_DIR}/${name}
      COMMAND ${CMAKE_COMMAND} -E env CORVANE_REGISTRY=~/.config/corvane/registry.ini
              ${CORVANE_HELP2MAN} --no-info --no-discard-stderr --name=${summary}
              --version-string=${PROJECT_VERSION} --output=${CORVANE_MAN_DIR}/${name}.1
              ${CORVANE_MAN_DIR}/${name}
      COMMAND ${CMAKE_COMMAND} -E rm -f ${CORVANE_MAN_DIR}/${name}
      COMMAND ${CORVANE_GZIP} -9nf ${CORVANE_MAN_DIR}/${name}.1
      DEPENDS ${target}
      COMMENT "Manual page ${name}(1)"
      VERBATIM)
    list(APPEND corvane_man_pages ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 OPTIONAL)
  endforeach()
endif()
add_custom_target(corvane_package_files ALL DEPENDS ${corvane_man_pages})

set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Corvane developers")
set(CPACK_PACKAGE_CONTACT "The Corvane developers <corvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "moving map and fly-there autopilot for a flight simulator")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# The long description below the summary line (CPack indents it).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Corvane is a companion for a desktop flight simulator: a small round
heading-up moving map inside the simulator's window, an airport search
with airport plans, a fly-there-and-land autopilot, mouse flight
controls and a fly-past view. It talks to the simulator through its link
library CVcoms (the FS6IPC protocol).

The package also holds a stand-in simulator (corvane-fltsim98), the
converter that builds the navigation data from a simulator's own apt.dat
and nav.dat (corvane-navdata), and the harness that flies scenarios and
measures the landings (corvane-harness).")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/corvane")
include(CPack)
