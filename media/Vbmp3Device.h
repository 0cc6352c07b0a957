#pragma once
#include "MediaDevice.h"
#include "Vbmp3.h"

// The engine that plays MP3 files through the outside library VBMP3.DLL.
// The end of a file arrives through the callback, on a thread of the
// library's choosing.
class Vbmp3Device : public MediaDevice {
public:
    Vbmp3Device();
    ~Vbmp3Device();

    BOOL isAvailable() override;
    BOOL probe(const char* fileName) override;
    BOOL open(const char* fileName) override;
    BOOL close() override;
    BOOL play(BOOL pause) override;
    BOOL stop() override;
    BOOL seek(UINT seconds) override;
    BOOL isPlaying() override;
    BOOL getRate(double* rate) override;
    BOOL getRatePercent(LONG* percent) override;
    BOOL setRate(double rate) override;
    BOOL setRatePercent(UINT percent) override;
    BOOL getLength(LONG* seconds) override;
    BOOL getPosition(LONG* seconds) override;
    BOOL canMute() override;
    BOOL setMute(BOOL mute) override;

    // Registered with the library at every later open.
    void setCallback(Vbmp3Callback callback);

private:
    bool isOpen() const { return fileName_[0] != '\0'; }
    BOOL registerCallback();

    Vbmp3Library vbmp3_;
    BOOL initialized_ = FALSE;
    bool callbackRegistered_ = false;
    bool started_ = false;
    bool canMute_ = false;
    char fileName_[MAX_PATH] = {};
    LONG ratePercent_ = 100;
    LONG lengthSeconds_ = -1;
    Vbmp3Callback callback_ = nullptr;
    LONG savedLeft_ = 0;
    LONG savedRight_ = 0;
};
