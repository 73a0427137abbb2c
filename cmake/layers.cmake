# The layers are the link lines: a file may include only headers of its own folder and of the
# targets its target links, directly or through them. A stray include fails the configure step,
# so the layering cannot erode by convention.

# Every project target `target` reaches through its link line, itself included.
function(ferrolux_reachable_targets target out)
  set(reached ${target})
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue current)
    get_target_property(links ${current} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(TARGET ${link} AND NOT link IN_LIST reached AND link IN_LIST FERROLUX_LAYERS)
        list(APPEND reached ${link})
        list(APPEND queue ${link})
      endif()
    endforeach()
  endwhile()
  set(${out} ${reached} PARENT_SCOPE)
endfunction()

# Fails when a file in `files` includes a project header its target cannot reach.
function(ferrolux_check_includes target)
  cmake_parse_arguments(ARG "" "" "FILES" ${ARGN})
  ferrolux_reachable_targets(${target} reached)
  foreach(file IN LISTS ARG_FILES)
    file(STRINGS ${file} includes REGEX "^#include \"[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" folder "${line}")
      if(folder IN_LIST FERROLUX_LAYER_FOLDERS)
        list(FIND FERROLUX_LAYER_FOLDERS ${folder} index)
        list(GET FERROLUX_LAYERS ${index} needed)
        if(NOT needed IN_LIST reached)
          file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${file})
          message(FATAL_ERROR "${shown} includes ${folder}/, which ${target} does not link")
        endif()
      endif()
    endforeach()
  endforeach()
endfunction()

# The layer targets and the folder each one owns, in the same order.
set(FERROLUX_LAYERS text model results catalog sweep chart console pageio terminal cli app fit)
set(FERROLUX_LAYER_FOLDERS text model results catalog sweep chart console pageio terminal cli app tools)

function(ferrolux_check_layers)
  foreach(layer folder IN ZIP_LISTS FERROLUX_LAYERS FERROLUX_LAYER_FOLDERS)
    file(GLOB_RECURSE files ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.hpp)
    list(FILTER files EXCLUDE REGEX "/(main|ferrolux_fit)\\.cpp$")
    ferrolux_check_includes(${layer} FILES ${files})
  endforeach()
  ferrolux_check_includes(ferrolux FILES ${PROJECT_SOURCE_DIR}/app/main.cpp)
  ferrolux_check_includes(ferrolux-fit FILES ${PROJECT_SOURCE_DIR}/tools/ferrolux_fit.cpp)
endfunction()
