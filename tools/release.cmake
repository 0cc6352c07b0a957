# What a user gets: the version resource of both binaries, the player's
# manifest, and the zip in build/dist, which every build of the whole tree
# (and tools/package.sh) keeps up to date. The version number is project()'s.

function(add_version_resource target file_name description file_type)
  set(VERSION_FILE_NAME ${file_name})
  set(VERSION_DESCRIPTION ${description})
  set(VERSION_FILE_TYPE ${file_type})
  configure_file(${CMAKE_SOURCE_DIR}/tools/version.rc.in ${CMAKE_BINARY_DIR}/version/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/version/${target}.rc)
endfunction()

add_version_resource(player PLAYER.EXE "Media player" VFT_APP)
add_version_resource(pixamor PIXAMOR.SPI "Media import filter for image viewers" VFT_DLL)

# Common controls version 6, so that the dialogs look current on Windows.
configure_file(${CMAKE_SOURCE_DIR}/player/PLAYER.EXE.manifest.in ${CMAKE_BINARY_DIR}/version/PLAYER.EXE.manifest @ONLY)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version/manifest.rc
     CONTENT "1 24 \"${CMAKE_BINARY_DIR}/version/PLAYER.EXE.manifest\"\n")
target_sources(player PRIVATE ${CMAKE_BINARY_DIR}/version/manifest.rc)

# The package: the two binaries and their data files side by side, as a
# viewer's plug-in folder wants them, and the guide with its pictures.
install(PROGRAMS $<TARGET_FILE:player> $<TARGET_FILE:pixamor> DESTINATION .)
file(GLOB shipped_data CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*.TBL ${CMAKE_SOURCE_DIR}/data/*.BMP)
install(FILES ${shipped_data} DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
# The guide and the pictures of docs/ that it shows.
set(guide ${CMAKE_SOURCE_DIR}/docs/user-guide.md)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${guide})
file(READ ${guide} guide_text)
file(GLOB docs_pictures CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.png)
set(guide_pictures)
foreach(picture ${docs_pictures})
  get_filename_component(name ${picture} NAME)
  string(FIND "${guide_text}" "(${name})" at)
  if(at GREATER -1)
    list(APPEND guide_pictures ${picture})
  endif()
endforeach()
install(FILES ${guide} ${guide_pictures} DESTINATION docs)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME player-pixamor)
set(CPACK_PACKAGE_FILE_NAME player-pixamor-${PROJECT_VERSION})
get_filename_component(build_root ${CMAKE_BINARY_DIR} DIRECTORY)
set(CPACK_PACKAGE_DIRECTORY ${build_root}/dist)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(package_zip ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
include(CPack)

add_custom_command(OUTPUT ${package_zip}
  COMMAND ${CMAKE_CPACK_COMMAND} -G ZIP --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  DEPENDS player pixamor ${shipped_data} ${CMAKE_SOURCE_DIR}/LICENSE ${guide} ${guide_pictures}
          ${CMAKE_BINARY_DIR}/cmake_install.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR} VERBATIM)
add_custom_target(package_zip ALL DEPENDS ${package_zip})
