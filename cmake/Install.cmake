# SPDX-License-Identifier: MIT
# What `cmake --install` puts in place, and the packages CPack builds.
include(GNUInstallDirs)

install(TARGETS sceneshifter-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(_data ${PROJECT_SOURCE_DIR}/data)
set(_gen ${PROJECT_BINARY_DIR}/data)
file(MAKE_DIRECTORY ${_gen})

# Man pages and the changelog go in compressed, as Debian keeps them.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(_compressed)
foreach(_src IN ITEMS man/sceneshifter.1 man/sceneshifter-cli.1 changelog)
  get_filename_component(_name ${_src} NAME)
  add_custom_command(OUTPUT ${_gen}/${_name}.gz
    COMMAND ${GZIP_EXECUTABLE} -9nc ${_data}/${_src} > ${_gen}/${_name}.gz
    DEPENDS ${_data}/${_src} VERBATIM)
  list(APPEND _compressed ${_gen}/${_name}.gz)
endforeach()
add_custom_target(sceneshifter_docs ALL DEPENDS ${_compressed})
install(FILES ${_gen}/sceneshifter.1.gz ${_gen}/sceneshifter-cli.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_gen}/changelog.gz ${_data}/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sceneshifter)
install(FILES ${_data}/completion/sceneshifter-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

if(SCENESHIFTER_GUI)
  install(TARGETS sceneshifter RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${_data}/org.sceneshifter.Sceneshifter.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${_data}/org.sceneshifter.Sceneshifter.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${_data}/icons/sceneshifter.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME org.sceneshifter.Sceneshifter.svg)
  foreach(_size IN LISTS SCENESHIFTER_ICON_SIZES)
    install(FILES ${SCENESHIFTER_ICON_DIR}/sceneshifter-${_size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
      RENAME org.sceneshifter.Sceneshifter.png)
  endforeach()
endif()

set(CPACK_PACKAGE_NAME sceneshifter)
set(CPACK_PACKAGE_VENDOR "The Sceneshifter developers")
set(CPACK_PACKAGE_CONTACT "The Sceneshifter developers <developers@sceneshifter.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "editor for the scenery areas of a flight simulator's Scenery.cfg")
set(CPACK_PACKAGE_DESCRIPTION
  "Sceneshifter lists the scenery areas of a Scenery.cfg file by layer and\n\
title and edits, adds, deletes, moves and searches them, saving the file\n\
durably with a backup. sceneshifter-cli does the same for scripts.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackGenerators.cmake)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://sceneshifter.org/)
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME sceneshifter-${PROJECT_VERSION})
# The tree as git holds it: no builds, no git data (a worktree's .git is a
# file), no editor files.
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/\\\\.git$" "/build[^/]*/" "/out/"
  "/\\\\.cache/" "\\\\.user$")
include(CPack)
