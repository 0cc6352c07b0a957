#pragma once
#include "CountedLock.h"
#include "DirectMusicDevice.h"
#include "DirectShowDevice.h"
#include "MciDevice.h"
#include "MediaKind.h"
#include "SoftMpegDevice.h"
#include "Vbmp3Device.h"

class RecognitionFile;
struct ContentMatch;
struct RecognitionStep;

// One per process: one engine of each kind, the state of the last recognised
// file and the entries of the last playlist read. Every operation holds the
// lock for its whole duration; chains call tests re-entrantly under it.
class MediaContext {
public:
    MediaContext();
    ~MediaContext();
    MediaContext(const MediaContext&) = delete;
    MediaContext& operator=(const MediaContext&) = delete;

    // Chains.
    BOOL isKnownMedia(const char* path);
    // The known chain on a file the caller holds open (path names it for the
    // tests that look at the name). Streams are never probed here: no engine
    // may open a file that is held open.
    BOOL isKnownMedia(RecognitionFile& file, const char* path);
    BOOL isKnownMediaBuffer(const BYTE* bytes, UINT size);
    // The other chains end with the formats found by their heads.
    BOOL isOtherMedia(const char* path);
    // name, when given, is the header image's name (see matchMpegAudioNamed).
    BOOL isOtherMediaBuffer(const BYTE* bytes, UINT size, const char* name = nullptr);
    BOOL isMediaByHead(const char* path);
    BOOL isMediaByHeadBuffer(const BYTE* bytes, UINT size, const char* name = nullptr);

    // Content tests, file and buffer variants.
    BOOL isWaveMpeg(const char* path);
    BOOL isWaveMpeg(const BYTE* bytes, UINT size);
    BOOL isRiffMp3(const char* path);
    BOOL isRiffMp3(const BYTE* bytes, UINT size);
    BOOL isWave(const char* path);
    BOOL isWave(const BYTE* bytes, UINT size);
    BOOL isCdxa(const char* path);
    BOOL isCdxa(const BYTE* bytes, UINT size);
    BOOL isAvi(const char* path);
    BOOL isAvi(const BYTE* bytes, UINT size);
    BOOL isMidi(const char* path);
    BOOL isMidi(const BYTE* bytes, UINT size);
    BOOL isCdda(const char* path);
    BOOL isCdda(const BYTE* bytes, UINT size);
    BOOL isQuickTime(const char* path);
    BOOL isQuickTime(const BYTE* bytes, UINT size);
    BOOL isRealMedia(const char* path);
    BOOL isRealMedia(const BYTE* bytes, UINT size);
    BOOL isAiff(const char* path);
    BOOL isAiff(const BYTE* bytes, UINT size);
    BOOL isAu(const char* path);
    BOOL isAu(const BYTE* bytes, UINT size);
    BOOL hasTrackTag(const char* path);
    BOOL isMpegStream(const char* path);
    BOOL isMpegStream(const BYTE* bytes, UINT size);
    BOOL isMpegAudio(const char* path);
    BOOL isMpegAudio(const BYTE* bytes, UINT size);
    BOOL isWindowsMedia(const char* path);
    BOOL isWindowsMedia(const BYTE* bytes, UINT size);
    BOOL isIsoMedia(const char* path);
    BOOL isIsoMedia(const BYTE* bytes, UINT size);
    BOOL isAiffC(const char* path);
    BOOL isAiffC(const BYTE* bytes, UINT size);
    // Ogg, FLAC, Matroska: kind Unknown.
    BOOL isOpenContainer(const char* path);
    BOOL isOpenContainer(const BYTE* bytes, UINT size);
    BOOL isTextFile(const char* path);

    // Stream probes.
    BOOL probeWithMci(const char* path);
    BOOL probeWithDirectShowEngine(const char* path);
    BOOL readFirstStreamType(const char* path);
    void classifyMediaType();

    // Playlists: isPlaylist answers the number of entries found, 0 for none.
    UINT isPlaylist(const char* path);
    BOOL readPlaylist(const char* path, UINT count);
    void clearPlaylistEntries();

    // Accessors.
    BOOL hasAudio() const { return hasAudio_; }
    BOOL hasVideo() const { return hasVideo_; }
    // Forgets the last file's streams, so that a file no test accepts has none.
    void clearStreams() { hasAudio_ = hasVideo_ = streamsUnexamined_ = FALSE; }
    // Whether the last accepted file's streams were left to a probe that no
    // request asked for.
    BOOL streamsUnexamined() const { return streamsUnexamined_; }
    MediaKind kind() const { return kind_; }
    // The stream kind of the last accepted file: "Both", "Audio", "Video" or
    // "Unknown" (streams not examined or none found).
    const char* streamKind() const;
    WORD waveFormatTag() const { return waveFormatTag_; }
    UINT playlistEntryCount() const { return playlistEntryCount_; }
    const char* playlistEntry(UINT index) const;
    void setProbeRequests(int request) { probeRequest1_ = probeRequest2_ = request; }
    void setProbeWithDirectShow(int useDirectShow) { probeWithDirectShow_ = useDirectShow; }
    void setEnableDvd(int enable) { enableDvd_ = enable; }
    // Takes ownership of count heap strings (and the array) allocated with new[].
    void setMciDeviceNames(char** names, UINT count);

    MciDevice& mciDevice() { return mciDevice_; }
    DirectShowDevice& directShowDevice() { return directShowDevice_; }
    DirectMusicDevice& directMusicDevice() { return directMusicDevice_; }
    SoftMpegDevice& softMpegDevice() { return softMpegDevice_; }
    Vbmp3Device& vbmp3Device() { return vbmp3Device_; }
    CountedLock& lock() { return lock_; }

private:
    // Recognition helpers, called under the lock.
    BOOL accept(const ContentMatch& match);
    BOOL checkBuffer(const BYTE* bytes, UINT size, bool (*check)(const BYTE*, size_t, ContentMatch*));
    BOOL runFileSteps(const char* path, const RecognitionStep* steps, size_t count);
    void probeStreams(const char* path);

    BOOL hasAudio_ = FALSE;
    BOOL hasVideo_ = FALSE;
    BOOL streamsUnexamined_ = FALSE;
    int probeRequest1_ = 0;
    int probeRequest2_ = 0;
    int probeWithDirectShow_ = 0;
    int enableDvd_ = 0;
    MciDevice mciDevice_;
    DirectShowDevice directShowDevice_;
    DirectMusicDevice directMusicDevice_;
    SoftMpegDevice softMpegDevice_;
    Vbmp3Device vbmp3Device_;
    MediaKind kind_ = MediaKindUnknown;
    UINT playlistEntryCount_ = 0;
    UINT mciDeviceNameCount_ = 0;
    GUID majorType_ = {};
    GUID subType_ = {};
    char** playlistEntries_ = nullptr;
    UINT playlistEntriesHeld_ = 0;
    char** mciDeviceNames_ = nullptr;
    WORD waveFormatTag_ = 0;
    CountedLock lock_;
};
