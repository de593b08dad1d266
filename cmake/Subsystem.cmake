# SPDX-License-Identifier: GPL-2.0-or-later
# One static library per source folder: a folder's .cpp/.h/.qrc files are its sources,
# so adding a file needs no edit here. A folder without sources yet is an interface library.
function(pulsivar_subsystem target folder)
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.qrc)
  # A folder's main.cpp is its executable's, not the library's.
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  file(GLOB headers CONFIGURE_DEPENDS ${folder}/*.h)
  if(sources)
    add_library(${target} STATIC ${sources} ${headers})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARGN} PRIVATE pulsivar_warnings)
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARGN})
  endif()
endfunction()
