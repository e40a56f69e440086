# SPDX-License-Identifier: GPL-3.0-or-later
# Read by cpack for each generator it runs.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME pardolin-${CPACK_PACKAGE_VERSION}-win64-setup)
  # The read-me belongs to the zip, whose program needs no installing; the setup program
  # installs the program alone.
  string(REPLACE ";ALL;" ";Unspecified;" CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_INSTALL_CMAKE_PROJECTS}")
endif()
