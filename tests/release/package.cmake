# The zip that the build writes (tools/release.cmake), unpacked and used as a
# user would; it reads and writes the user's real player key.
add_executable(package_test ${CMAKE_CURRENT_LIST_DIR}/package_test.cpp)
target_link_libraries(package_test PRIVATE testsupport version GTest::gtest_main)
string(REPLACE ";" " " package_binary_words "${package_binaries}")
target_compile_definitions(package_test PRIVATE PACKAGE_VERSION="${PROJECT_VERSION}")
set_target_properties(package_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(package_test package_zip)
add_test(NAME package_test
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/package-test.sh ${package_zip} ${CMAKE_SOURCE_DIR}/data
                 ${CMAKE_BINARY_DIR}/wineprefix ${CMAKE_BINARY_DIR}/wine-run.sh $<TARGET_FILE:package_test>
                 "${package_binary_words}")
set_tests_properties(package_test PROPERTIES RUN_SERIAL TRUE)

# In the x86_64 build, also the shipped package of the i686 build beside it:
# its PIXAMOR.SPH in a 64-bit process starts its 32-bit player. Run where
# 32-bit programs run, after the i686 build wrote the zip.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_test(NAME shipped_package_test
           COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/package-test.sh ${shipped_zip}
                   ${CMAKE_SOURCE_DIR}/data ${CMAKE_BINARY_DIR}/wineprefix ${CMAKE_BINARY_DIR}/wine-run.sh
                   $<TARGET_FILE:package_test> "PLAYER.EXE PIXAMOR.SPI PIXAMOR.SPH")
  set_tests_properties(shipped_package_test PROPERTIES RUN_SERIAL TRUE)
endif()
