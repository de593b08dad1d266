# SPDX-License-Identifier: GPL-2.0-or-later
# The two loadable modules, carried inside the executable so that a missing one can be written
# back beside it: :/DLL/101 is fmodex.dll, :/DLL/102 is bpmDetect.dll. The resource compiler
# needs plain files, so the built modules are copied into this folder first.
set(dll_copy_dir ${CMAKE_CURRENT_BINARY_DIR}/dll)
set(dll_audioinput_copy ${dll_copy_dir}/fmodex.dll)
set(dll_bpmdetect_copy ${dll_copy_dir}/bpmDetect.dll)
add_custom_command(
  OUTPUT ${dll_audioinput_copy} ${dll_bpmdetect_copy}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${dll_copy_dir}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:pulsivar_audioinput> ${dll_audioinput_copy}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:pulsivar_bpmdetect> ${dll_bpmdetect_copy}
  DEPENDS pulsivar_audioinput pulsivar_bpmdetect
  COMMENT "Copying the detection modules for embedding")
set_source_files_properties(${dll_audioinput_copy} PROPERTIES QT_RESOURCE_ALIAS 101 GENERATED TRUE)
set_source_files_properties(${dll_bpmdetect_copy} PROPERTIES QT_RESOURCE_ALIAS 102 GENERATED TRUE)
qt_add_resources(pulsivar_resources "dll" PREFIX "/DLL" BIG_RESOURCES
    FILES ${dll_audioinput_copy} ${dll_bpmdetect_copy})
add_dependencies(pulsivar_resources pulsivar_audioinput pulsivar_bpmdetect)
