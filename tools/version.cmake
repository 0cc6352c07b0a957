# The version resource of a binary, from tools/version.rc.in and project()'s number.
function(add_version_resource target file_name description file_type)
  set(VERSION_FILE_NAME ${file_name})
  set(VERSION_DESCRIPTION ${description})
  set(VERSION_FILE_TYPE ${file_type})
  configure_file(${CMAKE_SOURCE_DIR}/tools/version.rc.in ${CMAKE_BINARY_DIR}/version/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/version/${target}.rc)
endfunction()
