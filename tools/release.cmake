# What a user gets: the version resource of both binaries, the player's
# manifest, and the zip that tools/package.sh writes into build/dist. The version number is the one of project().

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
# The guide's pictures: those it names.
file(READ ${CMAKE_SOURCE_DIR}/docs/user-guide.md guide_text)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/user-guide.md)
string(REGEX MATCHALL "\\(([A-Za-z0-9_-]+\\.png)\\)" guide_pictures "${guide_text}")
list(TRANSFORM guide_pictures REPLACE "[()]" "")
list(TRANSFORM guide_pictures PREPEND ${CMAKE_SOURCE_DIR}/docs/)
install(FILES ${CMAKE_SOURCE_DIR}/docs/user-guide.md DESTINATION docs)
# A picture that another branch still has to bring is left out until it is there.
install(FILES ${guide_pictures} DESTINATION docs OPTIONAL)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME player-pixamor)
set(CPACK_PACKAGE_FILE_NAME player-pixamor-${PROJECT_VERSION})
get_filename_component(build_root ${CMAKE_BINARY_DIR} DIRECTORY)
set(CPACK_PACKAGE_DIRECTORY ${build_root}/dist)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
