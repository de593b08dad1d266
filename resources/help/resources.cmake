# SPDX-License-Identifier: GPL-2.0-or-later
# The help page lives beside the program as FlashHelp/Pulsivar.htm; it is copied into the build's
# program folder, and installed from there with the rest of the folder.
set(PULSIVAR_HELP_SOURCE ${CMAKE_CURRENT_LIST_DIR}/Pulsivar.htm)
set(PULSIVAR_HELP_TARGET ${PULSIVAR_PROGRAM_FOLDER}/FlashHelp/Pulsivar.htm)
add_custom_command(
  OUTPUT ${PULSIVAR_HELP_TARGET}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PULSIVAR_PROGRAM_FOLDER}/FlashHelp
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PULSIVAR_HELP_SOURCE} ${PULSIVAR_HELP_TARGET}
  DEPENDS ${PULSIVAR_HELP_SOURCE}
  COMMENT "Copying the help page into the program folder")
add_custom_target(pulsivar_help ALL DEPENDS ${PULSIVAR_HELP_TARGET})
