# SPDX-License-Identifier: GPL-2.0-or-later
# The Debian package (tools/package.sh runs `cpack -G DEB` in the build folder): the installed
# program folder and launcher from Install.cmake, plus what a desktop needs to offer the program
# in its menu and software centre, and what Debian asks of every package.
set(PULSIVAR_PACKAGING_SOURCE ${PROJECT_SOURCE_DIR}/packaging)

if(UNIX AND NOT APPLE)
  install(FILES ${PULSIVAR_PACKAGING_SOURCE}/pulsivar.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PULSIVAR_PACKAGING_SOURCE}/com.example.Pulsivar.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${PULSIVAR_PACKAGING_SOURCE}/icons/pulsivar.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The PNG sizes are kept rendered in the tree (packaging/icons/render.sh), so a build needs no
  # SVG renderer.
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${PULSIVAR_PACKAGING_SOURCE}/icons/hicolor/${size}x${size}/apps/pulsivar.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()

  # Debian wants the man page and the changelog compressed without a time stamp (-n), so that
  # two builds of the same sources give the same package.
  find_program(PULSIVAR_GZIP gzip REQUIRED)
  set(packaging_out ${CMAKE_BINARY_DIR}/packaging)
  set(compressed)
  foreach(file pulsivar.1 changelog)
    add_custom_command(
      OUTPUT ${packaging_out}/${file}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_out}
      COMMAND ${CMAKE_COMMAND} -E copy ${PULSIVAR_PACKAGING_SOURCE}/${file} ${packaging_out}/${file}
      COMMAND ${PULSIVAR_GZIP} -9nf ${packaging_out}/${file}
      DEPENDS ${PULSIVAR_PACKAGING_SOURCE}/${file}
      COMMENT "Compressing ${file}"
      VERBATIM)
    list(APPEND compressed ${packaging_out}/${file}.gz)
  endforeach()
  add_custom_target(pulsivar_packaging_files ALL DEPENDS ${compressed})
  install(FILES ${packaging_out}/pulsivar.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PULSIVAR_PACKAGING_SOURCE}/copyright ${packaging_out}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pulsivar)
endif()

if(UNIX AND NOT APPLE)
  set(CPACK_GENERATOR DEB)
else()
  set(CPACK_GENERATOR ZIP)
endif()
set(CPACK_PACKAGE_NAME pulsivar)
set(CPACK_PACKAGE_VENDOR Verrowind)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Verrowind <pulsivar@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "metronome and tempo tool for DJs")
set(CPACK_PACKAGE_DESCRIPTION
"Pulsivar keeps two tempos, Channel 1 and Channel 2, one for each deck being
mixed, and compares them in percent. The selected channel's tempo is set by
tapping along with the music, typing it, a slider, steps of one BPM, halving
or doubling, or by detecting it live from an audio input such as the monitor
of the desktop's own output.

A metronome beats at that tempo, numbering and colouring each beat of a
measure of two to seven beats, with optional click and accent sounds, and
can be nudged a few milliseconds ahead or behind. A harmonic key mixing
window shows the keys that mix well on the Camelot wheel.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PULSIVAR_WEBSITE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its X11 and Wayland platform plugins at run time, where shlibdeps cannot see them, and
# without them no window opens.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Help and web links open through the desktop's default programs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_POST_BUILD_SCRIPTS ${PULSIVAR_PACKAGING_SOURCE}/without-ldconfig.cmake)

include(CPack)
