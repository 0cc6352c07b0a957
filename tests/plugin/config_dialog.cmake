# The configuration dialogs read and write the plug-in's real key; one run
# also opens the player's own settings.
add_dependencies(config_dialog_test pixamor player)
set_tests_properties(config_dialog_test PROPERTIES RUN_SERIAL TRUE)
# Without DirectShow its choices are disabled. The DVD graph builder of
# QDVD.DLL stands without QUARTZ.DLL, so both go.
add_test(NAME config_dialog_test_noquartz COMMAND config_dialog_test --gtest_filter=*DrivenByMessages*)
set_tests_properties(config_dialog_test_noquartz PROPERTIES ENVIRONMENT "WINEDLLOVERRIDES=quartz,qdvd=" RUN_SERIAL TRUE)
