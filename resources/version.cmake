# The product's version and names, held here once. Everything that shows or
# stamps them is generated from these values:
#   quill_version.h    the C/C++ and resource-compiler header: the main
#                      window's title and each program's version resource
#   quill_version.env  shell assignments for scripts/package (file names)
#   quill_version.nsh  the installer's defines (its names, registry entry
#                      and own version resource)
# The build number is the fourth field of the file version (0 for developer
# builds; scripts/package passes the commit count).
set(QUILL_BUILD_NUMBER 0 CACHE STRING "build number: the fourth field of the file version (0 to 65535)")
if(NOT QUILL_BUILD_NUMBER MATCHES "^[0-9]+$" OR QUILL_BUILD_NUMBER GREATER 65535)
  message(FATAL_ERROR "QUILL_BUILD_NUMBER must be a number from 0 to 65535, not '${QUILL_BUILD_NUMBER}'")
endif()

set(QUILL_PRODUCT_NAME "Sorvane Quill Alarm Setup")
set(QUILL_COMPANY_NAME "Valdrix")
set(QUILL_COPYRIGHT "© 2026 Valdrix. All rights reserved.")
set(QUILL_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
set(QUILL_SHORT_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
set(QUILL_FILE_VERSION_TEXT "${QUILL_VERSION_TEXT}.${QUILL_BUILD_NUMBER}")

# The about box's lines are texts of the definition table, in every language:
# its name (A1), "Version <major>.<minor>" (A2) and the copyright (A3). A
# version or name changed here without the table would make the about box
# and the version resource disagree, so such a build stops here.
# CMake lists split at ';', the table's field separator: read the rows with
# it turned into '|'.
file(READ ${CMAKE_CURRENT_SOURCE_DIR}/definitions.txt table)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/definitions.txt)
string(REPLACE ";" "|" table "${table}")
string(REGEX MATCHALL "\nA[123]\\|[^\r\n]*" about_rows "${table}")
set(first_copyright "")
foreach(row IN LISTS about_rows)
  string(STRIP "${row}" row)
  if(row MATCHES "^A1" AND NOT row STREQUAL "A1|\"${QUILL_PRODUCT_NAME}\"")
    message(FATAL_ERROR "definitions.txt: ${row} is not the product name \"${QUILL_PRODUCT_NAME}\"")
  elseif(row MATCHES "^A2" AND NOT row MATCHES " ${PROJECT_VERSION_MAJOR}\\.${PROJECT_VERSION_MINOR}\"$")
    message(FATAL_ERROR "definitions.txt: ${row} does not end in the version ${QUILL_SHORT_VERSION_TEXT}")
  elseif(row MATCHES "^A3\\|\"(.*)\"$" AND first_copyright STREQUAL "")
    set(first_copyright "${CMAKE_MATCH_1}")
  endif()
endforeach()
if(NOT first_copyright STREQUAL QUILL_COPYRIGHT)
  message(FATAL_ERROR "definitions.txt: the first A3 \"${first_copyright}\" is not the copyright \"${QUILL_COPYRIGHT}\"")
endif()

set(version_dir ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/quill_version.h.in ${version_dir}/quill_version.h @ONLY)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/quill_version.env.in ${version_dir}/quill_version.env @ONLY)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/quill_version.nsh.in ${version_dir}/quill_version.nsh @ONLY)

# Programs and the resource compiler find "quill_version.h" and
# "resources/version_info.rc" through this target.
add_library(quill_version INTERFACE)
target_include_directories(quill_version INTERFACE ${version_dir} ${PROJECT_SOURCE_DIR})
