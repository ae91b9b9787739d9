# The editor window and its parts.
set(CMAKE_AUTOMOC ON)

add_library(sceneshifter_platform STATIC src/platform/dialogs.cpp)
target_include_directories(sceneshifter_platform PUBLIC src/platform)
target_link_libraries(sceneshifter_platform PUBLIC sceneshifter_codepage
  Qt6::Widgets)
