# SPDX-License-Identifier: MIT
#
# The program's layers: one library per folder, each allowed to include its
# own folder's headers and those of the layers it is built on (DEPENDS, and
# what they are built on in turn), nothing above it. Every build checks each
# layer's sources: an include that runs upward, or sideways into a layer it
# does not depend on, stops the build with a message naming the file, the
# include and the layers it may use.
#
#   corvane_layer(<target> [INTERFACE] [SOURCES <files>...] [DEPENDS <layers>...]
#                 [LINK <other libraries>...] [ALLOW <folders>...])
#
# The folder is the current source folder. SOURCES default to the folder's
# .cpp files. ALLOW names folders outside the layers (the platform code a
# shell is built on). CORVANE_ROOT must name the repository's root.

set(CORVANE_LAYER_CHECK_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake)

function(corvane_layer target)
  cmake_parse_arguments(PARSE_ARGV 1 layer "INTERFACE" "" "SOURCES;DEPENDS;LINK;ALLOW")
  file(RELATIVE_PATH folder ${CORVANE_ROOT} ${CMAKE_CURRENT_SOURCE_DIR})

  # The folders this layer may include: its own, those of its layers, and the
  # allowed ones.
  set(allowed ${folder})
  foreach(dependency IN LISTS layer_DEPENDS)
    if(NOT TARGET ${dependency})
      message(FATAL_ERROR "${target} is built on ${dependency}, which is not made yet: "
                          "declare the layers from the bottom up")
    endif()
    get_target_property(below ${dependency} CORVANE_LAYER_FOLDERS)
    if(NOT below)
      message(FATAL_ERROR "${target} is built on ${dependency}, which is not a layer")
    endif()
    list(APPEND allowed ${below})
  endforeach()
  list(APPEND allowed ${layer_ALLOW})
  list(REMOVE_DUPLICATES allowed)

  if(layer_INTERFACE)
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${layer_DEPENDS} ${layer_LINK})
  else()
    if(NOT layer_SOURCES)
      file(GLOB layer_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    endif()
    add_library(${target} STATIC ${layer_SOURCES})
    target_link_libraries(${target} PUBLIC ${layer_DEPENDS} ${layer_LINK})
  endif()
  set_target_properties(${target} PROPERTIES CORVANE_LAYER_FOLDERS "${allowed}")
  set_property(GLOBAL APPEND PROPERTY CORVANE_LAYERS ${target})

  # The check, run again whenever a file of the folder changes.
  file(GLOB checked CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(settings ${CMAKE_CURRENT_BINARY_DIR}/${target}-layer.cmake)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}-layer.stamp)
  file(WRITE ${settings}.in
       "set(LAYER_TARGET \"${target}\")\n"
       "set(LAYER_FOLDER \"${folder}\")\n"
       "set(LAYER_ALLOWED \"${allowed}\")\n"
       "set(LAYER_ROOT \"${CORVANE_ROOT}\")\n"
       "set(LAYER_FILES \"${checked}\")\n"
       "set(LAYER_STAMP \"${stamp}\")\n")
  configure_file(${settings}.in ${settings} COPYONLY)
  add_custom_command(OUTPUT ${stamp}
                     COMMAND ${CMAKE_COMMAND} -DLAYER_SETTINGS=${settings}
                             -P ${CORVANE_LAYER_CHECK_SCRIPT}
                     DEPENDS ${checked} ${settings} ${CORVANE_LAYER_CHECK_SCRIPT}
                     COMMENT "Checking the includes of ${folder}"
                     VERBATIM)
  add_custom_target(${target}_layer_check ALL DEPENDS ${stamp})
  if(NOT layer_INTERFACE)
    add_dependencies(${target} ${target}_layer_check)
  endif()
endfunction()
