#pragma once

// What a file holds, decided from its content.
enum MediaKind : int {
    MediaKindUnknown = 0,
    MediaKindWave = 1,
    MediaKindMidi = 2,
    MediaKindAvi = 3,
    MediaKindMpeg = 4,
    MediaKindSoftMpeg = 5,
    MediaKindCdda = 6,
    MediaKindCdxa = 7,
    MediaKindAu = 8,
    MediaKindAiff = 9,
    MediaKindQuickTime = 10,
    MediaKindRealMedia = 11,
    MediaKindPlayList = 12,
    MediaKindWindowsMedia = 13,
    MediaKindText = 14,
};
