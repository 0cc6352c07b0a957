# Real media written by sox and ffmpeg on the build host for the recognition
# tests and the benchmark; remade when the script changes.
set(sample_media_stamp ${CMAKE_BINARY_DIR}/samples/.made)
add_custom_command(OUTPUT ${sample_media_stamp}
  COMMAND sh ${CMAKE_SOURCE_DIR}/tools/make-sample-media.sh ${CMAKE_BINARY_DIR}/samples
  COMMAND ${CMAKE_COMMAND} -E touch ${sample_media_stamp}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-sample-media.sh
  COMMENT "Writing sample media")
add_custom_target(sample_media ALL DEPENDS ${sample_media_stamp})
add_dependencies(recognition_samples_test sample_media)
