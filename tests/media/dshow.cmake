# The media files that the DirectShow and DirectMusic tests play, written once
# by sox, ffmpeg and python3 on the build machine. Without those tools the
# tests that need a file skip.
set(dshow_samples ${CMAKE_BINARY_DIR}/samples)
add_custom_command(OUTPUT ${dshow_samples}/dshow.stamp
  COMMAND sh -c "sh '${CMAKE_SOURCE_DIR}/tools/make-dshow-media.sh' '${dshow_samples}' >/dev/null && touch '${dshow_samples}/dshow.stamp' || echo 'DirectShow samples not written: the tests that need them skip'"
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-dshow-media.sh
  VERBATIM)
add_custom_target(dshow_media ALL DEPENDS ${dshow_samples}/dshow.stamp)

# Without OLE32, or without DirectShow itself, the engine fails cleanly.
foreach(missing ole32 quartz)
  add_test(NAME dshow_test_no${missing} COMMAND dshow_test --gtest_filter=DirectShowUnavailable.*)
  set_tests_properties(dshow_test_no${missing} PROPERTIES ENVIRONMENT "WINEDLLOVERRIDES=${missing}=")
endforeach()

add_test(NAME dmusic_test_noole32 COMMAND dmusic_test --gtest_filter=DirectMusic.WithoutOleNothingOpens)
set_tests_properties(dmusic_test_noole32 PROPERTIES ENVIRONMENT "WINEDLLOVERRIDES=ole32=")

# The length of an MP3 file is measured with the stand-in VBMP3 library.
add_dependencies(dshow_test vbmp3_double)
