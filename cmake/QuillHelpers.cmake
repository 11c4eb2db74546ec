# quill_add_test(NAME <name> SOURCES <files...> LIBS <targets...>
#                [NATIVE_ONLY] [WIN_ONLY] [LABELS <labels...>] [TIMEOUT <s>])
# One GoogleTest executable, registered with CTest as one test. In the win
# build it runs under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
function(quill_add_test)
  cmake_parse_arguments(T "NATIVE_ONLY;WIN_ONLY" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(T_NATIVE_ONLY AND QUILL_WIN)
    return()
  endif()
  if(T_WIN_ONLY AND NOT QUILL_WIN)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_color=no)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# quill_version_resource(TARGET RC_FILE): the program's version resource. The
# resource compiler reports no header dependencies, so a changed version or
# build number would leave the compiled resource stale: name them here.
function(quill_version_resource target rc_file)
  target_sources(${target} PRIVATE ${rc_file})
  target_link_libraries(${target} PRIVATE quill_version)
  set_source_files_properties(${rc_file} PROPERTIES OBJECT_DEPENDS
    "${CMAKE_BINARY_DIR}/generated/quill_version.h;${PROJECT_SOURCE_DIR}/resources/version_info.rc")
endfunction()
