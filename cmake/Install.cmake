# Installed layout: a self-contained program folder <prefix>/lib/pulsivar/ and a launcher link
# <prefix>/bin/pulsivar. The program finds its folder from its own executable path.
include(GNUInstallDirs)
set(PULSIVAR_INSTALL_FOLDER lib/pulsivar)
install(TARGETS pulsivar RUNTIME DESTINATION ${PULSIVAR_INSTALL_FOLDER})
# Every other file the program expects beside it (modules, waves, help) is installed from the
# build's program folder, so the two layouts cannot drift apart.
install(DIRECTORY ${PULSIVAR_PROGRAM_FOLDER}/ DESTINATION ${PULSIVAR_INSTALL_FOLDER}
        USE_SOURCE_PERMISSIONS
        FILES_MATCHING PATTERN "*.dll" PATTERN "*.wav" PATTERN "FlashHelp/*")
install(CODE "
  set(dest \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${dest}\")
  file(CREATE_LINK ../${PULSIVAR_INSTALL_FOLDER}/pulsivar \"\${dest}/pulsivar\" SYMBOLIC)
  message(STATUS \"Installing: \${dest}/pulsivar -> ../${PULSIVAR_INSTALL_FOLDER}/pulsivar\")
")
