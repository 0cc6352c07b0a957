# The real player with a fresh user's settings in the user's real key: no
# other player test may run beside it.
add_dependencies(malformed_list_e2e_test player)
set_tests_properties(malformed_list_e2e_test PROPERTIES RUN_SERIAL TRUE)
