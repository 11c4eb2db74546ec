# The built-in definition table. definitions.txt (UTF-8) is converted to
# Windows-1250, sealed and generated into a C++ source defining
# SealedDefinitionTable, by "sqctool defs embed":
#   quill_table          the table the program ships
#   quill_table_damaged  the same with one sealed bit flipped (start-up error tests)
# In a cross build the tool must run on the build machine: it is taken from
# QUILL_HOST_TOOLS (scripts/build passes build/native/bin).
set(definitions_source ${CMAKE_CURRENT_SOURCE_DIR}/definitions.txt)

if(CMAKE_CROSSCOMPILING)
  if(NOT QUILL_HOST_TOOLS OR NOT EXISTS ${QUILL_HOST_TOOLS}/sqctool)
    message(FATAL_ERROR
      "Sealing the definition table needs a sqctool that runs on this machine: "
      "build the native tree first and pass -DQUILL_HOST_TOOLS=<native>/bin "
      "(scripts/build does both). QUILL_HOST_TOOLS is '${QUILL_HOST_TOOLS}'.")
  endif()
  set(embed_tool ${QUILL_HOST_TOOLS}/sqctool)
  set(embed_depends ${QUILL_HOST_TOOLS}/sqctool)
else()
  set(embed_tool $<TARGET_FILE:sqctool-boot>)
  set(embed_depends sqctool-boot)
endif()

function(quill_definition_table target output)
  add_custom_command(
    OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${output}
    COMMAND ${embed_tool} defs embed ${definitions_source} ${CMAKE_CURRENT_BINARY_DIR}/${output} ${ARGN}
    DEPENDS ${definitions_source} ${embed_depends}
    COMMENT "Sealing the definition table into ${output}"
    VERBATIM)
  add_library(${target} STATIC ${CMAKE_CURRENT_BINARY_DIR}/${output})
endfunction()

quill_definition_table(quill_table definition_table.cpp)
quill_definition_table(quill_table_damaged definition_table_damaged.cpp --damage)
