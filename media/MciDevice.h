#pragma once
#include "MediaDevice.h"

#include <mmsystem.h>

// The engine that plays through the MCI command interface. A device type is
// either a type number in the low 16 bits (CD audio keeps the track number in
// the high 16 bits), when the open flags carry MCI_OPEN_TYPE_ID, or the
// address of a type name. The picture keeps its native size and place in
// the window it is attached to: the placement operations keep their
// defaults, which change nothing.
class MciDevice : public MediaDevice {
public:
    // Every MCI command of the device goes through one of these; tests put a
    // recorder in front of the platform's entry.
    using CommandSender = MCIERROR (*)(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params);

    MciDevice();
    ~MciDevice();

    BOOL probe(const char* fileName) override;
    BOOL open(const char* fileName) override;
    BOOL close() override;
    BOOL play(BOOL pause) override;
    BOOL stop() override;
    BOOL seek(UINT seconds) override;
    BOOL isPlaying() override;
    BOOL getLength(LONG* seconds) override;
    BOOL getPosition(LONG* seconds) override;
    BOOL hasVideo() override;
    BOOL hasAudio() override;
    BOOL canMute() override;
    BOOL setMute(BOOL mute) override;
    BOOL getVideoSize(LONG* width, LONG* height) override;
    BOOL showVideo(BOOL show) override;
    BOOL attachVideoWindow(HWND owner, HWND drain, DWORD style, DWORD exStyle) override;
    void detachVideoWindow() override;

    // The MCI devices (by type name) that this engine must not use; not owned.
    void setExcludedDevices(char** names, UINT count);
    BOOL openWithDevice(const char* fileName, DWORD_PTR deviceType, DWORD openFlags);
    BOOL openWithDevice(const char* fileName, const char* typeName, DWORD openFlags);
    BOOL readCdTrack(const char* fileName, DWORD_PTR* deviceType, DWORD* openFlags);
    UINT deviceCount();
    BOOL deviceName(UINT index, char* buffer, UINT size);

    // Null puts the platform's entry back.
    void setCommandSender(CommandSender sender);

protected:
    // MCI's rectangles: origin and size.
    struct VideoRect {
        LONG left, top, width, height;
    };

    MCIERROR send(MCIDEVICEID device, UINT message, DWORD flags, void* params);
    BOOL sendAndWait(UINT message);
    BOOL isExcluded(const char* typeName) const;
    BOOL readRiffForm(const char* fileName, const char* form, DWORD_PTR deviceType, DWORD openFlags);
    BOOL readWave(const char* fileName);
    BOOL readSequencer(const char* fileName);
    BOOL readAvi(const char* fileName);
    BOOL readCdAudio(const char* fileName);
    BOOL probeOtherDevices(const char* fileName);
    BOOL tryDevice(const char* fileName, const char* typeName);
    void chooseDevice(DWORD_PTR deviceType, DWORD openFlags);
    void clearMediumFlags();
    void acceptFile(DWORD_PTR deviceType, DWORD openFlags);
    BOOL playFrom(DWORD cdPosition);
    void freeTypeName();
    BOOL setTimeFormat(DWORD format);
    BOOL queryStatus(DWORD item, DWORD track, DWORD* value);
    BOOL readCdTrackLength(UINT track);
    void readLength();
    BOOL setAudio(BOOL on);
    // which: MCI_DGV_WHERE_* or MCI_DGV_PUT_* (source or destination).
    BOOL readPlacement(DWORD which, VideoRect* rect);
    BOOL putPlacement(DWORD which, const VideoRect& rect);
    void readNativeDestination();

    DWORD openFlags_ = 0;
    UINT excludedCount_ = 0;
    DWORD_PTR deviceType_ = 0;  // a type ID (a CD track in its high word) or a type name's address
    char** excludedNames_ = nullptr;
    BOOL hasAudio_ = FALSE;
    BOOL canMute_ = FALSE;
    BOOL isCdAudio_ = FALSE;
    BOOL ownsTypeName_ = FALSE;
    BOOL playing_ = FALSE;
    LONG lengthSeconds_ = -1;
    DWORD cdTrack_ = 0;
    DWORD cdTrackEnd_ = 0;
    HWND ownerWindow_ = nullptr;
    MCIDEVICEID deviceId_ = 0;
    VideoRect videoRect_ = {};
    CommandSender sender_;
};
