#pragma once
#include <stddef.h>
#include <stdint.h>

// CD audio: the track record of a ".cda" file and the packed positions that
// MCI's cdaudio device speaks.
//
// A ".cda" file is a RIFF "CDDA" form whose first chunk is "fmt "; the track
// number is the 16-bit value at offset 22. A position in TMSF form carries
// the track in byte 0, minutes in byte 1, seconds in byte 2 and frames in
// byte 3; a length in MSF form carries minutes, seconds, frames in bytes 0-2.

enum : size_t { cdaRecordSize = 24 };
enum : unsigned { cdLastTrack = 99 };

// The track number of a ".cda" record, or 0 when the bytes are not one or
// name no track a disc can hold (1 to 99).
unsigned cdaTrackNumber(const uint8_t* bytes, size_t size);

uint32_t makeTmsf(unsigned track, unsigned minutes, unsigned seconds, unsigned frames);

// Whole seconds of a TMSF position counted from the start of its track (the
// track byte and the frames are ignored).
unsigned tmsfSeconds(uint32_t tmsf);

// Whole seconds of an MSF length.
unsigned msfSeconds(uint32_t msf);

// The end of a track as a TMSF position within it, from the track's MSF
// length; frames are dropped.
uint32_t cdTrackEnd(unsigned track, uint32_t msfLength);

// The TMSF position seconds into a track; false when the minutes do not fit
// their byte.
bool cdTrackPosition(unsigned track, unsigned seconds, uint32_t* tmsf);
