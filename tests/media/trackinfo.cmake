# Track information without WINMM: the INFO list cannot be read and the
# version 1 tag still fills the fields.
add_test(NAME trackinfo_test_nowinmm COMMAND trackinfo_test --gtest_filter=TrackInfoWithoutWinmm.*)
set_tests_properties(trackinfo_test_nowinmm PROPERTIES ENVIRONMENT WINEDLLOVERRIDES=winmm=)
