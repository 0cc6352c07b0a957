# The start-up benchmark's programs (bench/startup.sh runs them); not a test.
add_executable(bench_trivial WIN32 ${CMAKE_SOURCE_DIR}/bench/TrivialProgram.cpp)
add_executable(startup_bench ${CMAKE_SOURCE_DIR}/bench/StartupBench.cpp)
target_link_libraries(startup_bench PRIVATE testsupport)
set_target_properties(bench_trivial startup_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
