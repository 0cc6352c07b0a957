#pragma once
#include <string>

// Full path of a media file that tools/make-dshow-media.sh wrote into the
// build's "samples" folder beside the test programs' folder.
std::string dshowSample(const char* name);

// Whether the system library loads (the test variants switch some off).
bool libraryLoads(const char* name);

// Skips the running test when the sample is missing.
#define REQUIRE_DSHOW_SAMPLE(variable, name)                                                                 \
    const std::string variable = dshowSample(name);                                                          \
    if (!fileExists(variable))                                                                               \
    GTEST_SKIP() << "no sample " << variable << " (tools/make-dshow-media.sh writes it with sox and ffmpeg)"
