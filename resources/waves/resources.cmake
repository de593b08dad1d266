# SPDX-License-Identifier: GPL-2.0-or-later
# The two beat clicks, written into the program folder when missing; made by
# tools/waves/make_click_waves.py.
set(wave_dir ${CMAKE_CURRENT_LIST_DIR})
set_source_files_properties(${wave_dir}/MetronomeWave.wav PROPERTIES QT_RESOURCE_ALIAS 101)
set_source_files_properties(${wave_dir}/AccentMetronomeWave.wav PROPERTIES QT_RESOURCE_ALIAS 102)
qt_add_resources(pulsivar_resources "waves" PREFIX "/WAVE"
    FILES ${wave_dir}/MetronomeWave.wav ${wave_dir}/AccentMetronomeWave.wav)
