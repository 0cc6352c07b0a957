# The engine tests run the real player, which reads and writes its settings
# under the user's real key: no other player test may run beside them.
add_dependencies(engines_e2e_test player dshow_media sample_media)
set_tests_properties(engines_e2e_test PROPERTIES RUN_SERIAL TRUE)
# The player without DirectShow's library (Wine takes the overrides from the
# host environment that the test program, and so the player, starts with).
add_test(NAME engines_e2e_test_noquartz COMMAND engines_e2e_test --gtest_filter=WithoutDirectShow.*)
set_tests_properties(engines_e2e_test_noquartz PROPERTIES RUN_SERIAL TRUE
                     ENVIRONMENT "WINEDLLOVERRIDES=quartz=;ENGINES_E2E_NO_QUARTZ=1")
