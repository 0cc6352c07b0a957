#pragma once
#include <string>

// Writes an uncompressed 24-bit AVI of frames frames at framesPerSecond with
// one video stream and an index; each frame is a different flat colour.
// topDown stores the rows from the top, with a negative height, as ffmpeg does.
bool writeUncompressedAvi(const std::string& path, unsigned width, unsigned height, unsigned frames,
                          unsigned framesPerSecond, bool topDown = false);
