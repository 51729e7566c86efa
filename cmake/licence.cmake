# The licence, written once in LICENSE at the repository's root: the packages
# take its copyright line and its text from there.
#   VELLUMIN_LICENSE_FILE   the file
#   VELLUMIN_SPDX_LICENSE   its SPDX name, MIT
#   VELLUMIN_COPYRIGHT      "2026 The Vellumin authors"
set(VELLUMIN_LICENSE_FILE ${PROJECT_SOURCE_DIR}/LICENSE)
set(VELLUMIN_SPDX_LICENSE MIT)
file(STRINGS ${VELLUMIN_LICENSE_FILE} copyright_line REGEX "^Copyright \\(c\\) ")
string(REGEX REPLACE "^Copyright \\(c\\) " "" VELLUMIN_COPYRIGHT "${copyright_line}")
if(NOT VELLUMIN_COPYRIGHT)
  message(FATAL_ERROR "${VELLUMIN_LICENSE_FILE} has no line \"Copyright (c) YEAR HOLDER\"")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VELLUMIN_LICENSE_FILE})
