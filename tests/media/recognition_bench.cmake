# The recognition benchmark: built with the tests, run by bench/recognition.sh.
add_executable(recognition_bench ${CMAKE_SOURCE_DIR}/bench/recognition_bench.cpp)
target_link_libraries(recognition_bench PRIVATE media testsupport)
set_target_properties(recognition_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(recognition_bench sample_media)
