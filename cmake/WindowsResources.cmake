# SPDX-License-Identifier: MIT
# On Windows each program carries a resource script: its icon (drawn from
# data/icons/sceneshifter.svg, as every other size is), its version
# information and the manifest.
if(NOT WIN32)
  function(sceneshifter_windows_resources target description)
  endfunction()
  return()
endif()

find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(MAGICK_CONVERT NAMES convert magick REQUIRED)
set(_ico_dir ${PROJECT_BINARY_DIR}/ico)
set(SCENESHIFTER_ICO ${_ico_dir}/sceneshifter.ico)
set(_svg ${PROJECT_SOURCE_DIR}/data/icons/sceneshifter.svg)
set(_steps)
set(_layers)
foreach(_size 16 24 32 48 64 256)
  list(APPEND _steps COMMAND ${RSVG_CONVERT} -w ${_size} -h ${_size}
    -o ${_ico_dir}/${_size}.png ${_svg})
  list(APPEND _layers ${_ico_dir}/${_size}.png)
endforeach()
add_custom_command(OUTPUT ${SCENESHIFTER_ICO}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_ico_dir}
  ${_steps}
  COMMAND ${MAGICK_CONVERT} ${_layers} ${SCENESHIFTER_ICO}
  DEPENDS ${_svg} VERBATIM)
add_custom_target(sceneshifter_ico DEPENDS ${SCENESHIFTER_ICO})

set(SCENESHIFTER_MANIFEST
  ${PROJECT_SOURCE_DIR}/src/platform/windows/sceneshifter.manifest)

function(sceneshifter_windows_resources target description)
  set(SCENESHIFTER_PROGRAM ${target})
  set(SCENESHIFTER_DESCRIPTION ${description})
  set(_rc ${PROJECT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/src/platform/windows/program.rc.in
    ${_rc} @ONLY)
  target_sources(${target} PRIVATE ${_rc})
  set_source_files_properties(${_rc} PROPERTIES
    OBJECT_DEPENDS "${SCENESHIFTER_ICO};${SCENESHIFTER_MANIFEST}")
  add_dependencies(${target} sceneshifter_ico)
endfunction()
