# SPDX-License-Identifier: GPL-2.0-or-later
# Installed layout: a self-contained program folder <prefix>/lib/pulsivar/ and a launcher link
# <prefix>/bin/pulsivar. The program finds its folder from its own executable path.
include(GNUInstallDirs)
set(PULSIVAR_INSTALL_FOLDER lib/pulsivar)
install(TARGETS pulsivar RUNTIME DESTINATION ${PULSIVAR_INSTALL_FOLDER})

# Every file the program expects beside it is installed by name, so that an installed folder that
# is not writable for its users never makes the program offer to write one of them.
# The modules are loaded, never run: no execute bit.
foreach(module pulsivar_audioinput pulsivar_bpmdetect)
  if(TARGET ${module})
    install(TARGETS ${module}
            LIBRARY DESTINATION ${PULSIVAR_INSTALL_FOLDER}
                    PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
            RUNTIME DESTINATION ${PULSIVAR_INSTALL_FOLDER})
  endif()
endforeach()
# The build's folder gets the waves only when the program first runs there; install the sources.
install(FILES ${PROJECT_SOURCE_DIR}/resources/waves/MetronomeWave.wav
              ${PROJECT_SOURCE_DIR}/resources/waves/AccentMetronomeWave.wav
        DESTINATION ${PULSIVAR_INSTALL_FOLDER})
install(FILES ${PROJECT_SOURCE_DIR}/resources/help/Pulsivar.htm
        DESTINATION ${PULSIVAR_INSTALL_FOLDER}/FlashHelp)

install(CODE "
  set(dest \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${dest}\")
  file(CREATE_LINK ../${PULSIVAR_INSTALL_FOLDER}/pulsivar \"\${dest}/pulsivar\" SYMBOLIC)
  message(STATUS \"Installing: \${dest}/pulsivar -> ../${PULSIVAR_INSTALL_FOLDER}/pulsivar\")
")
