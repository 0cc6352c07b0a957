# Real frames through the plug-in; without the AVI file library every video
# gets its type picture.
add_dependencies(real_image_test pixamor dshow_media)
set_tests_properties(real_image_test PROPERTIES RUN_SERIAL TRUE)
add_test(NAME real_image_test_noavifil32 COMMAND real_image_test)
set_tests_properties(real_image_test_noavifil32 PROPERTIES ENVIRONMENT "WINEDLLOVERRIDES=avifil32=" RUN_SERIAL TRUE)
