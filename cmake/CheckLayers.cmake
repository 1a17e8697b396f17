# SPDX-License-Identifier: MIT
#
# Checks one layer's includes (see Layers.cmake): every include of a file of
# the repository must lie in a folder the layer may use. Run as
#   cmake -DLAYER_SETTINGS=<target>-layer.cmake -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)
include(${LAYER_SETTINGS})

# The repository's top-level folders whose headers are the project's own.
set(project_roots app ports navdata platform linklib sim tools tests)

set(problems "")
foreach(file IN LISTS LAYER_FILES)
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
  file(RELATIVE_PATH shown ${LAYER_ROOT} ${file})
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" path "${line}")
    string(REGEX MATCH "^[^/]+" top "${path}")
    if(NOT top IN_LIST project_roots)
      continue()  # a header beside the file or of a library outside the project
    endif()
    set(ok FALSE)
    foreach(folder IN LISTS LAYER_ALLOWED)
      string(LENGTH "${folder}/" length)
      string(SUBSTRING "${path}" 0 ${length} start)
      if(start STREQUAL "${folder}/")
        set(ok TRUE)
        break()
      endif()
    endforeach()
    if(NOT ok)
      string(APPEND problems "\n  ${shown} includes \"${path}\"")
    endif()
  endforeach()
endforeach()

if(problems)
  string(REPLACE ";" ", " may "${LAYER_ALLOWED}")
  message(FATAL_ERROR "${LAYER_FOLDER} (${LAYER_TARGET}) includes what lies above it or beside "
                      "it:${problems}\n${LAYER_FOLDER} may include only: ${may}")
endif()
file(TOUCH ${LAYER_STAMP})
