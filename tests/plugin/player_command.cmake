# A stand-in player that records its command line: copied as PLAYER.EXE beside
# a copy of the plug-in.
add_executable(fake_player ${CMAKE_CURRENT_LIST_DIR}/FakePlayer.cpp)
set_target_properties(fake_player PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(player_command_test pixamor fake_player player)
set_tests_properties(player_command_test PROPERTIES RUN_SERIAL TRUE)
