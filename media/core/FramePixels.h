#pragma once
#include <stdint.h>

// Pixel rows of a video frame converted to 24 bits (blue, green, red), and
// the time arithmetic of frame capture.

enum class SixteenBitLayout { Rgb555, Rgb565 };

// Converts rows of 16-bit pixels (layout as given) or of 32-bit pixels (the
// fourth byte dropped) to 24 bits. Source and destination rows are each
// padded to four bytes (DibRowBytes). False, with nothing written, for another
// depth or a size that DibRowBytes refuses.
bool convertRowsTo24(const uint8_t* source, uint32_t bitCount, SixteenBitLayout layout, uint32_t width,
                     uint32_t rows, uint8_t* destination);

// The milliseconds of a frame position in seconds, as the AVI file library
// takes them: a position too far for its signed 32-bit times gives the
// largest it can take, which lies past the end of every stream.
int32_t frameMilliseconds(uint32_t seconds);

// The half second of a medium of duration reference-time units (100 ns) that
// a clip starting at `seconds` covers: it ends half a second after the
// position, but no later than duration - 1, and starts half a second before
// its end, or at 0 when the medium is not longer than half a second. False
// for a medium with no duration.
bool clipInterval(uint32_t seconds, int64_t duration, int64_t* start, int64_t* stop);
