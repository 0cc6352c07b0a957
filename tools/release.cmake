# What a user gets: the version resource of the binaries, the player's
# manifest, and the zip in build/dist, which every build of the whole tree
# (and tools/package.sh) keeps up to date. The version number is project()'s.

include(${CMAKE_CURRENT_LIST_DIR}/version.cmake)

add_version_resource(player PLAYER.EXE "Media player" VFT_APP)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_version_resource(pixamor PIXAMOR.SPH "Media import filter for 64-bit image viewers" VFT_DLL)
else()
  add_version_resource(pixamor PIXAMOR.SPI "Media import filter for image viewers" VFT_DLL)
endif()

# Common controls version 6, so that the dialogs look current on Windows. The
# assembly must be of the program's own machine: an x86_64 program bound to
# the x86 one does not start where both are installed.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(manifest_machine amd64)
else()
  set(manifest_machine x86)
endif()
configure_file(${CMAKE_SOURCE_DIR}/player/PLAYER.EXE.manifest.in ${CMAKE_BINARY_DIR}/version/PLAYER.EXE.manifest @ONLY)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version/manifest.rc
     CONTENT "1 24 \"${CMAKE_BINARY_DIR}/version/PLAYER.EXE.manifest\"\n")
# The resource compiler reads the manifest through the script: rebuild on its change too.
set_source_files_properties(${CMAKE_BINARY_DIR}/version/manifest.rc TARGET_DIRECTORY player PROPERTIES
                            OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/version/PLAYER.EXE.manifest)
target_sources(player PRIVATE ${CMAKE_BINARY_DIR}/version/manifest.rc)

# The package: the binaries and their data files side by side, as a
# viewer's plug-in folder wants them, and the guide with its pictures. The
# shipped one comes from the i686 build and also holds the plug-in for
# 64-bit viewers, built here in the win64 folder beside this one; the x86_64
# build (the suite on hosts that run no 32-bit code) packs its own binaries.
get_filename_component(build_root ${CMAKE_BINARY_DIR} DIRECTORY)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(plugin64 $<TARGET_FILE:pixamor>)
  set(package_binaries PLAYER.EXE PIXAMOR.SPH)
  install(PROGRAMS $<TARGET_FILE:player> $<TARGET_FILE:pixamor> DESTINATION .)
else()
  set(plugin64 ${build_root}/win64/bin/PIXAMOR.SPH)
  set(package_binaries PLAYER.EXE PIXAMOR.SPI PIXAMOR.SPH)
  add_custom_target(pixamor64
    COMMAND ${CMAKE_COMMAND} -E env BUILD_DIR=${build_root} sh ${CMAKE_SOURCE_DIR}/tools/build.sh win64 pixamor
    BYPRODUCTS ${plugin64}
    COMMENT "Building the 64-bit plug-in" VERBATIM USES_TERMINAL)
  install(PROGRAMS $<TARGET_FILE:player> $<TARGET_FILE:pixamor> ${plugin64} DESTINATION .)
endif()
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
# The x86_64 build's zip is for its tests only and stays in its own folder,
# so that it never replaces the shipped one in build/dist.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/dist)
else()
  set(CPACK_PACKAGE_DIRECTORY ${build_root}/dist)
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(package_zip ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
set(shipped_zip ${build_root}/dist/${CPACK_PACKAGE_FILE_NAME}.zip)
include(CPack)

add_custom_command(OUTPUT ${package_zip}
  COMMAND ${CMAKE_CPACK_COMMAND} -G ZIP --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  DEPENDS player pixamor ${plugin64} ${shipped_data} ${CMAKE_SOURCE_DIR}/LICENSE ${guide} ${guide_pictures}
          ${CMAKE_BINARY_DIR}/cmake_install.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR} VERBATIM)
add_custom_target(package_zip ALL DEPENDS ${package_zip})
if(TARGET pixamor64)
  add_dependencies(package_zip pixamor64)
endif()
