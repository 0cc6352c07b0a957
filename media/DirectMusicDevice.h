#pragma once
#include "ComPtr.h"
#include "MediaDevice.h"

struct IDirectMusicLoader;
struct IDirectMusicPerformance;
struct IDirectMusicSegment;

// Plays standard MIDI files through DirectMusic. It has no pause, no seek and
// no end-of-file notice: the player counts in music time and ends play when
// the position reaches the length.
class DirectMusicDevice : public MediaDevice {
public:
    DirectMusicDevice();
    ~DirectMusicDevice();

    BOOL probe(const char* fileName) override;
    BOOL open(const char* fileName) override;
    BOOL close() override;
    BOOL play(BOOL pause) override;
    BOOL stop() override;
    BOOL isPlaying() override;
    BOOL getLengthMusicTime(LONG* length) override;
    BOOL getLengthReferenceTime(LONGLONG* length) override;
    BOOL getPositionMusicTime(LONG* position) override;
    BOOL getPositionReferenceTime(LONGLONG* position) override;

    // Whether a performance with its default port and a loader can be made.
    BOOL canCreate();

private:
    BOOL loadSegment(const char* fileName);
    void releaseObjects();

    // Asked for as IDirectMusicPerformance2 and IDirectMusicSegment2, which
    // extend these; only the methods of the first versions are called.
    ComPtr<IDirectMusicPerformance> performance_;
    ComPtr<IDirectMusicLoader> loader_;
    ComPtr<IDirectMusicSegment> segment_;
    char fileName_[MAX_PATH] = {};
    LONG lengthMusicTime_ = -1;
    LONGLONG lengthReferenceTime_ = -1;
};
