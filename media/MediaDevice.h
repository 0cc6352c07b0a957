#pragma once
#include "CountedLock.h"

// One engine holding at most one open medium. The slots keep a fixed order;
// every operation answers non-zero for success or true and 0 for failure or
// false. Engines override what they support; each is destroyed by its owner
// through its concrete type, so the destructor is not virtual.
class MediaDevice {
public:
    virtual BOOL isAvailable();                                   // 0
    virtual BOOL probe(const char* fileName);                     // 1
    virtual BOOL open(const char* fileName);                      // 2
    virtual BOOL close();                                         // 3
    virtual BOOL play(BOOL pause);                                // 4
    virtual BOOL stop();                                          // 5
    virtual BOOL reserved6(DWORD);                                // 6
    virtual BOOL reserved7(DWORD, DWORD);                         // 7
    virtual BOOL seekExact(double seconds);                       // 8
    virtual BOOL seek(UINT seconds);                              // 9
    virtual BOOL isPlaying();                                     // 10
    virtual BOOL getRate(double* rate);                           // 11
    virtual BOOL getRatePercent(LONG* percent);                   // 12
    virtual BOOL setRate(double rate);                            // 13
    virtual BOOL setRatePercent(UINT percent);                    // 14
    virtual BOOL getLengthMusicTime(LONG* length);                // 15
    virtual BOOL getLengthReferenceTime(LONGLONG* length);        // 16
    virtual BOOL getLengthExact(double* seconds);                 // 17
    virtual BOOL getLength(LONG* seconds);                        // 18
    virtual BOOL getPositionMusicTime(LONG* position);            // 19
    virtual BOOL getPositionReferenceTime(LONGLONG* position);    // 20
    virtual BOOL getPositionExact(double* seconds);               // 21
    virtual BOOL getPosition(LONG* seconds);                      // 22
    virtual BOOL hasVideo();                                      // 23
    virtual BOOL hasAudio();                                      // 24
    virtual BOOL canMute();                                       // 25
    virtual BOOL setMute(BOOL mute);                              // 26
    virtual BOOL getVideoSize(LONG* width, LONG* height);         // 27
    virtual BOOL showVideo(BOOL show);                            // 28
    virtual BOOL attachVideoWindow(HWND owner, HWND drain, DWORD style, DWORD exStyle); // 29
    virtual void detachVideoWindow();                             // 30
    virtual BOOL moveVideoTo(const POINT* point);                 // 31
    virtual BOOL moveVideo(LONG x, LONG y);                       // 32
    virtual BOOL resizeVideo(LONG width, LONG height);            // 33
    virtual BOOL setVideoRect(const RECT* rect);                  // 34
    virtual BOOL setVideoWindowRect(LONG x, LONG y, LONG width, LONG height); // 35

protected:
    MediaDevice() = default;
    ~MediaDevice() = default;
    MediaDevice(const MediaDevice&) = delete;
    MediaDevice& operator=(const MediaDevice&) = delete;

    CountedLock lock;
};
