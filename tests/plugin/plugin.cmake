# The plug-in tests load the built plug-in as a viewer does and may start the
# real player beside it; both read and write the users' real keys.
add_executable(plugin_host_probe ${CMAKE_CURRENT_LIST_DIR}/PluginHostProbe.cpp)
target_link_libraries(plugin_host_probe PRIVATE testsupport)
set_target_properties(plugin_host_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# Pictures of files as a viewer gets them, for the user guide.
add_executable(plugin_pictures ${CMAKE_CURRENT_LIST_DIR}/PluginPictures.cpp)
target_link_libraries(plugin_pictures PRIVATE testsupport)
set_target_properties(plugin_pictures PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(plugin_e2e_test pixamor player plugin_host_probe sample_media)
set_tests_properties(plugin_e2e_test PROPERTIES RUN_SERIAL TRUE)
add_dependencies(exports_test pixamor)
# The plug-in benchmark: built with the tests, run by bench/plugin.sh.
add_executable(plugin_bench ${CMAKE_SOURCE_DIR}/bench/plugin_bench.cpp)
target_link_libraries(plugin_bench PRIVATE testsupport ole32)
set_target_properties(plugin_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(plugin_bench pixamor dshow_media)
# A test disk behind an mmio I/O procedure.
target_link_libraries(raw_pcm_test PRIVATE winmm)
