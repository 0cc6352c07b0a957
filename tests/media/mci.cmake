# The MCI engine with WINMM.DLL disabled: every operation reports failure.
add_test(NAME mci_nowinmm COMMAND mci_test --gtest_filter=MciWithoutWinmm.*)
set_tests_properties(mci_nowinmm PROPERTIES ENVIRONMENT "WINEDLLOVERRIDES=winmm=")

# Compressed WAVE files that MCI's waveaudio device plays through its codecs.
find_program(SOX_PROGRAM sox)
if(SOX_PROGRAM)
  set(mci_media_dir ${CMAKE_BINARY_DIR}/bin)
  add_custom_command(
    OUTPUT ${mci_media_dir}/mci_mulaw.wav ${mci_media_dir}/mci_adpcm.wav
    COMMAND ${SOX_PROGRAM} -n -r 8000 -c 1 -e u-law ${mci_media_dir}/mci_mulaw.wav synth 3 sine 440
    COMMAND ${SOX_PROGRAM} -n -r 22050 -c 1 -e ms-adpcm ${mci_media_dir}/mci_adpcm.wav synth 3 sine 440
    VERBATIM)
  add_custom_target(mci_media_files DEPENDS ${mci_media_dir}/mci_mulaw.wav ${mci_media_dir}/mci_adpcm.wav)
  add_dependencies(mci_test mci_media_files)
endif()
