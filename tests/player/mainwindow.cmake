# The main window's tests load the player's own menu, accelerators, dialogs,
# icons and cursors, so their programs carry the player's resources.
foreach(name mainwindow_test mainwindow_ole_test mainplayback_test resources_test)
  target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/player/player.rc)
endforeach()
# The VBMP3 end of play comes from the stand-in library.
add_dependencies(mainplayback_test vbmp3_double)
# The MS-RLE video comes from the DirectShow samples.
add_dependencies(mainplayback_test dshow_media)
