# SPDX-License-Identifier: MIT
# Every size of the icon is drawn from data/icons/sceneshifter.svg; the
# window takes its own from the same pictures through a Qt resource.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(SCENESHIFTER_ICON_SIZES 16 22 24 32 48 64 128 256)
# The window's own sizes: the desktop draws larger ones from the installed
# theme icons, and each size the window carries is read at start-up.
set(SCENESHIFTER_WINDOW_ICON_SIZES 16 22 24 32 48 64)
set(SCENESHIFTER_ICON_DIR ${PROJECT_BINARY_DIR}/icons)
file(MAKE_DIRECTORY ${SCENESHIFTER_ICON_DIR})
set(_svg ${PROJECT_SOURCE_DIR}/data/icons/sceneshifter.svg)
set(_pngs)
set(_window_pngs)
foreach(_size IN LISTS SCENESHIFTER_ICON_SIZES)
  set(_png ${SCENESHIFTER_ICON_DIR}/sceneshifter-${_size}.png)
  add_custom_command(OUTPUT ${_png}
    COMMAND ${RSVG_CONVERT} -w ${_size} -h ${_size} -o ${_png} ${_svg}
    DEPENDS ${_svg} VERBATIM)
  list(APPEND _pngs ${_png})
  if(_size IN_LIST SCENESHIFTER_WINDOW_ICON_SIZES)
    list(APPEND _window_pngs ${_png})
  endif()
endforeach()
set_source_files_properties(${_pngs} PROPERTIES GENERATED TRUE)
# The installed sizes the window does not carry are drawn by this target, so
# that an install from a fresh build finds every one.
add_custom_target(sceneshifter_icons ALL DEPENDS ${_pngs})
qt_add_resources(sceneshifter_mainwindow "sceneshifter_icons"
  PREFIX /icons BASE ${SCENESHIFTER_ICON_DIR} FILES ${_window_pngs})
