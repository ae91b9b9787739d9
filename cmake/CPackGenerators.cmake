# SPDX-License-Identifier: MIT
# Read by cpack once per package it builds. Only the .deb installs under
# /usr: the source archive keeps the tree as it is, so that it unpacks to a
# folder that builds.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
else()
  unset(CPACK_PACKAGING_INSTALL_PREFIX)
endif()
