# Frame capture without the AVI file library: every capture fails cleanly.
add_test(NAME frame_capture_test_noavifil32 COMMAND frame_capture_test --gtest_filter=*BadFiles*)
set_tests_properties(frame_capture_test_noavifil32 PROPERTIES ENVIRONMENT "WINEDLLOVERRIDES=avifil32=")
add_dependencies(frame_capture_test dshow_media)
