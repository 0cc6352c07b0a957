# Stand-ins for the two outside components, for tests only. They are built
# into bin/doubles, away from the programs, so that nothing but a test that
# asks for them (through its DLL search path or by copying them into the
# prefix) ever loads them.
set(doubles_dir ${CMAKE_BINARY_DIR}/bin/doubles)

add_library(vbmp3_double SHARED ${CMAKE_CURRENT_LIST_DIR}/Vbmp3Double.cpp
                                ${CMAKE_CURRENT_LIST_DIR}/Vbmp3Double.def)
set_target_properties(vbmp3_double PROPERTIES PREFIX "" OUTPUT_NAME VBMP3 SUFFIX .DLL
                      RUNTIME_OUTPUT_DIRECTORY ${doubles_dir})
target_link_options(vbmp3_double PRIVATE -Wl,--enable-stdcall-fixup)

add_library(softmpeg_double SHARED ${CMAKE_CURRENT_LIST_DIR}/SoftMpegDriver.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/SoftMpegDriver.def)
set_target_properties(softmpeg_double PROPERTIES PREFIX "" OUTPUT_NAME necmpg2 SUFFIX .drv
                      RUNTIME_OUTPUT_DIRECTORY ${doubles_dir})
target_link_options(softmpeg_double PRIVATE -Wl,--enable-stdcall-fixup)

# The VBMP3 engine with the stand-in library on the search path but disabled
# by the loader.
add_test(NAME vbmp3_test_nolibrary COMMAND vbmp3_test --gtest_filter=Vbmp3MissingTest.*)
set_tests_properties(vbmp3_test_nolibrary PROPERTIES ENVIRONMENT "WINEDLLOVERRIDES=vbmp3=d;VBMP3_DISABLED=1")
foreach(user vbmp3_test softmpeg_test engineselection_test engineselection_order_test)
  add_dependencies(${user} vbmp3_double softmpeg_double)
endforeach()

# These install the stand-in MCI driver in the prefix for a while, which other
# tests listing the MCI devices would see.
set_tests_properties(softmpeg_test engineselection_test engineselection_order_test PROPERTIES RUN_SERIAL TRUE)
