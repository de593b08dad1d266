# SPDX-License-Identifier: GPL-2.0-or-later
# Warnings every target of ours builds with.
add_library(pulsivar_warnings INTERFACE)
if(MSVC)
  target_compile_options(pulsivar_warnings INTERFACE /W4)
else()
  target_compile_options(pulsivar_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)
endif()
