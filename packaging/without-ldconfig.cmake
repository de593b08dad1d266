# SPDX-License-Identifier: GPL-2.0-or-later
# Run by cpack once it has made the .deb. CPack gives every package with a shared object under
# /usr/lib a postinst and postrm that run ldconfig; the two modules in /usr/lib/pulsivar/ are the
# program's own and outside the linker's search path, so the package is rebuilt without them.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  find_program(DPKG_DEB dpkg-deb REQUIRED)
  set(tree "${deb}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND "${DPKG_DEB}" --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  foreach(script postinst postrm)
    set(path "${tree}/DEBIAN/${script}")
    if(EXISTS "${path}")
      file(STRINGS "${path}" lines REGEX "[^ \t]")
      # Only CPack's own script goes: shebang, set -e, the test of $1, ldconfig, fi.
      list(FILTER lines EXCLUDE REGEX "^(#!/bin/sh|set -e|if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then|[ \t]*ldconfig|fi)$")
      if(lines STREQUAL "")
        file(REMOVE "${path}")
      endif()
    endif()
  endforeach()
  execute_process(COMMAND "${DPKG_DEB}" --root-owner-group --build "${tree}" "${deb}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
