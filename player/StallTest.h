#pragma once
#include <windows.h>

// The tick thread's view of the open device and its test for a medium that
// stopped moving.

// Which engine holds the file, as the tick thread needs to know it.
enum TickEngine {
    TickEngineNone,         // no device open, or deviceStopped is set
    TickEngineMci,          // MCI, and SoftMPEG which plays through MCI
    TickEngineDirectShow,
    TickEngineDirectMusic,  // refreshed every tick, never ended by the stall test
    TickEngineOther,        // reports its end itself (VBMP3)
};

struct TickSample {
    TickEngine engine;
    LONG position;  // seconds (music time for DirectMusic)
};

// The stall test, one tick at a time.
class StallTest {
public:
    enum Action { Nothing, Refresh, EndOfMedium };
    Action tick(const TickSample& sample);

private:
    bool known_ = false;
    LONG last_ = 0;
    int unchanged_ = 0;
    bool endSent_ = false;
};
