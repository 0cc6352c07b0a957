# The run-time bindings with one library disabled: the entries of that library
# answer their failure values and everything else keeps working.
add_test(NAME bindings_test_nowinmm COMMAND bindings_test --gtest_filter=WithoutWinmm.*:Ole.*:RichEdit.*)
set_tests_properties(bindings_test_nowinmm PROPERTIES ENVIRONMENT WINEDLLOVERRIDES=winmm=)
# Wine's WINMM and RICHED32 import OLE32, so without it only the rest is left.
add_test(NAME bindings_test_noole32 COMMAND bindings_test --gtest_filter=WithoutOle.*)
set_tests_properties(bindings_test_noole32 PROPERTIES ENVIRONMENT WINEDLLOVERRIDES=ole32=)
add_test(NAME bindings_test_noolepro32 COMMAND bindings_test --gtest_filter=WithoutOlepro32.*:Ole.*)
set_tests_properties(bindings_test_noolepro32 PROPERTIES ENVIRONMENT WINEDLLOVERRIDES=olepro32=)
