#pragma once
#include <windows.h>

#include "CountedLock.h"

// The volume controls of the system mixer, one slot per mixer line
// component type: the source types (digital to analog), then the
// destination types (digital to voice in); the "undefined" types have no
// slot. A slot opens mixer 0 on first
// use, with window callbacks to its callback window, and keeps the line's
// volume control and its last value. Every operation fails when the mixer
// functions are missing. One object serves the process.
class MixerLines {
public:
    static const int slotCount = 18;
    // Stands for every slot in setCallbackWindow, readVolume and writeVolume;
    // not -1, which names no slot.
    static const int allSlots = -2;

    struct Volume {
        DWORD controlId;
        BOOL connected;
        LONG minimum;
        LONG maximum;
        LONG value;
    };

    MixerLines() = default;
    ~MixerLines();
    MixerLines(const MixerLines&) = delete;
    MixerLines& operator=(const MixerLines&) = delete;

    // -1 for a type without a slot.
    static int slotOfComponentType(DWORD componentType);
    // The slot whose volume control has this identifier, -1 when none.
    int slotOfControl(DWORD controlId);

    // The window that receives the slot's MM_MIXM_CONTROL_CHANGE; a line
    // open for another window opens again on its next use.
    BOOL setCallbackWindow(int slot, HWND window);
    BOOL openLine(int slot);
    // Reads the control's value into the slot and *volume. For allSlots
    // every line is read into its slot (volume may be null): true when at
    // least one was.
    BOOL readVolume(int slot, Volume* volume);
    // For allSlots the value goes to every line: true when at least one took it.
    BOOL writeVolume(int slot, LONG value);

private:
    struct Line {
        HMIXER mixer;
        HWND callbackWindow;
        BOOL connected;
        DWORD controlId;
        LONG minimum;
        LONG maximum;
        LONG value;
    };

    static BOOL validSlot(int slot) { return slot >= 0 && slot < slotCount; }
    void closeLine(Line& line);
    BOOL readLineControl(int slot);
    BOOL transferValue(int slot, BOOL write);
    BOOL transferAll(BOOL write, LONG value);

    Line lines_[slotCount] = {};
    CountedLock lock_;
};

extern MixerLines mixerLines;
