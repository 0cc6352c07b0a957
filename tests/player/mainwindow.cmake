# The main window's tests load the player's own menu, accelerators, dialogs,
# icons and cursors, so their programs carry the player's resources.
foreach(name mainwindow_test mainwindow_ole_test mainplayback_test resources_test)
  target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/player/player.rc)
endforeach()
# The VBMP3 end of play comes from the stand-in library.
add_dependencies(mainplayback_test vbmp3_double)
# The MS-RLE video comes from the DirectShow samples.
add_dependencies(mainplayback_test dshow_media)
# The settings dialogs: the player's templates, its real key, and PLAYER.EXE.
target_sources(settings_dialogs_test PRIVATE ${CMAKE_SOURCE_DIR}/player/player.rc)
add_dependencies(settings_dialogs_test player dshow_media vbmp3_double)
set_tests_properties(settings_dialogs_test PROPERTIES RUN_SERIAL TRUE)
add_dependencies(startup_test player)
set_tests_properties(startup_test PROPERTIES RUN_SERIAL TRUE)
