# SPDX-License-Identifier: GPL-2.0-or-later
# The program's icon at the usual sizes, drawn for the desktop entry, as :/ICON/<size>.
set(icon_files "")
foreach(size 16 24 32 48 64 128 256)
  set(png ${PROJECT_SOURCE_DIR}/packaging/icons/hicolor/${size}x${size}/apps/pulsivar.png)
  set_source_files_properties(${png} PROPERTIES QT_RESOURCE_ALIAS ${size})
  list(APPEND icon_files ${png})
endforeach()
qt_add_resources(pulsivar_resources "icons" PREFIX "/ICON" BASE ${PROJECT_SOURCE_DIR}/packaging/icons FILES ${icon_files})
