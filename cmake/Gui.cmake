# SPDX-License-Identifier: MIT
# The editor window and its parts.
set(CMAKE_AUTOMOC ON)

# Conversion between the file's code page and the widgets' text.
add_library(sceneshifter_codepage STATIC src/platform/codepage.cpp)
target_include_directories(sceneshifter_codepage PUBLIC src/platform)
target_link_libraries(sceneshifter_codepage PUBLIC scenery_document Qt6::Core)

add_library(sceneshifter_platform STATIC src/platform/dialogs.cpp
  src/platform/anchor_layout.cpp)
target_include_directories(sceneshifter_platform PUBLIC src/platform)
target_link_libraries(sceneshifter_platform PUBLIC sceneshifter_codepage
  Qt6::Widgets)

add_library(sceneshifter_settings STATIC src/settings/settings_store.cpp)
target_include_directories(sceneshifter_settings PUBLIC src/settings)
target_link_libraries(sceneshifter_settings PUBLIC Qt6::Core)

add_library(sceneshifter_folderpicker STATIC
  src/folderpicker/frm_files.cpp
  src/folderpicker/centre_form.cpp)
target_include_directories(sceneshifter_folderpicker PUBLIC src/folderpicker)
target_link_libraries(sceneshifter_folderpicker PUBLIC scenery_document
  sceneshifter_platform sceneshifter_settings Qt6::Widgets)

add_library(sceneshifter_mainwindow STATIC
  src/mainwindow/area_panel.cpp
  src/mainwindow/frm_config.cpp
  src/mainwindow/frm_config_commands.cpp
  src/mainwindow/frm_config_health.cpp
  src/mainwindow/frm_config_menus.cpp
  src/mainwindow/frm_check_areas.cpp
  src/mainwindow/frm_scenery_sets.cpp
  src/mainwindow/frm_add_new_folders.cpp
  src/mainwindow/frm_versions.cpp
  src/mainwindow/frm_config_versions.cpp
  src/mainwindow/health_checker.cpp
  src/mainwindow/scenery_file_session.cpp
  src/mainwindow/title_list_delegate.cpp
  src/mainwindow/title_list_model.cpp
  src/mainwindow/area_filter_model.cpp
  src/mainwindow/frm_config_selection.cpp
  src/mainwindow/editing_keys.cpp
  src/mainwindow/history_step.h
  src/mainwindow/wrapping_button.h)
target_include_directories(sceneshifter_mainwindow PUBLIC src/mainwindow)
target_compile_definitions(sceneshifter_mainwindow PRIVATE
  SCENESHIFTER_VERSION="${PROJECT_VERSION}")  # for the About box
target_link_libraries(sceneshifter_mainwindow PUBLIC scenery_document
  scenery_sets_file sceneshifter_platform sceneshifter_settings
  sceneshifter_folderpicker Qt6::Widgets Qt6::Concurrent)

add_executable(sceneshifter WIN32 src/main.cpp)
sceneshifter_windows_resources(sceneshifter
  "Sceneshifter: editor for the scenery areas of Scenery.cfg")
target_link_libraries(sceneshifter PRIVATE sceneshifter_mainwindow)
if(MSVC)
  target_link_options(sceneshifter PRIVATE /MANIFEST:NO)
endif()
target_compile_definitions(sceneshifter PRIVATE
  SCENESHIFTER_VERSION="${PROJECT_VERSION}")
