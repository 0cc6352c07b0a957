# The main window's tests load the player's own menu, accelerators, dialogs,
# icons and cursors, so their programs carry the player's resources.
foreach(name mainwindow_test droptarget_test)
  if(TARGET ${name})
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/player/player.rc)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/player)
  endif()
endforeach()
