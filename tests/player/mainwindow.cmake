# The main window's tests load the player's own menu, accelerators, dialogs,
# icons and cursors, so their program carries the player's resources.
target_sources(mainwindow_test PRIVATE ${CMAKE_SOURCE_DIR}/player/player.rc)
target_sources(mainplayback_test PRIVATE ${CMAKE_SOURCE_DIR}/player/player.rc)
target_sources(resources_test PRIVATE ${CMAKE_SOURCE_DIR}/player/player.rc)
# The VBMP3 end of play comes from the stand-in library.
add_dependencies(mainplayback_test vbmp3_double)
