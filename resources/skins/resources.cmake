# SPDX-License-Identifier: GPL-2.0-or-later
# The thirteen skins, Qt style sheets addressed by their menu id (:/SKIN/101 ... :/SKIN/113),
# and the small images they share (:/SKIN/images/...). See docs/skins.md.
set(skin_dir ${CMAKE_CURRENT_LIST_DIR})
set(skin_files
    101 b-studio       102 chizh     103 galaxy  104 geek-superhero  105 green
    106 max            107 media     108 metallic 109 paper          110 top-secret
    111 web-ii         112 win-aqua  113 zhelezo)
set(skin_sheets)
while(skin_files)
  list(POP_FRONT skin_files skin_id skin_name)
  set_source_files_properties(${skin_dir}/${skin_name}.qss PROPERTIES QT_RESOURCE_ALIAS ${skin_id})
  list(APPEND skin_sheets ${skin_dir}/${skin_name}.qss)
endwhile()
file(GLOB skin_images CONFIGURE_DEPENDS ${skin_dir}/images/*.png)
set(skin_image_files)
foreach(image ${skin_images})
  get_filename_component(image_name ${image} NAME)
  set_source_files_properties(${image} PROPERTIES QT_RESOURCE_ALIAS images/${image_name})
endforeach()
qt_add_resources(pulsivar_resources "skins" PREFIX "/SKIN" FILES ${skin_sheets} ${skin_images})
