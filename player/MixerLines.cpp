#include "MixerLines.h"

#include "Winmm.h"

MixerLines mixerLines;

namespace {

// Sources from digital (0x1001) to analog (0x100A), then destinations from
// digital (1) to voice in (8).
DWORD componentTypeOfSlot(int slot)
{
    const int sources = MIXERLINE_COMPONENTTYPE_SRC_ANALOG - MIXERLINE_COMPONENTTYPE_SRC_DIGITAL + 1;
    return slot < sources ? MIXERLINE_COMPONENTTYPE_SRC_DIGITAL + slot
                          : MIXERLINE_COMPONENTTYPE_DST_DIGITAL + (slot - sources);
}

HMIXEROBJ object(HMIXER mixer)
{
    return reinterpret_cast<HMIXEROBJ>(mixer);
}

} // namespace

MixerLines::~MixerLines()
{
    for (Line& line : lines_)
        closeLine(line);
}

int MixerLines::slotOfComponentType(DWORD componentType)
{
    for (int slot = 0; slot < slotCount; ++slot)
        if (componentTypeOfSlot(slot) == componentType)
            return slot;
    return -1;
}

int MixerLines::slotOfControl(DWORD controlId)
{
    LockScope hold(lock_);
    for (int slot = 0; slot < slotCount; ++slot)
        if (lines_[slot].mixer && lines_[slot].controlId == controlId)
            return slot;
    return -1;
}

void MixerLines::closeLine(Line& line)
{
    if (line.mixer)
        winmm::mixerClose(line.mixer);
    line.mixer = nullptr;
}

BOOL MixerLines::setCallbackWindow(int slot, HWND window)
{
    LockScope hold(lock_);
    if (slot == allSlots) {
        for (int each = 0; each < slotCount; ++each)
            setCallbackWindow(each, window);
        return TRUE;
    }
    if (!validSlot(slot))
        return FALSE;
    Line& line = lines_[slot];
    if (line.callbackWindow != window)
        closeLine(line);
    line.callbackWindow = window;
    return TRUE;
}

BOOL MixerLines::readLineControl(int slot)
{
    Line& line = lines_[slot];
    MIXERLINEA info = {};
    info.cbStruct = sizeof info;
    info.dwComponentType = componentTypeOfSlot(slot);
    if (winmm::mixerGetLineInfoA(object(line.mixer), &info,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
        return FALSE;
    MIXERCONTROLA control = {};
    control.cbStruct = sizeof control;
    MIXERLINECONTROLSA controls = {};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = info.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    if (winmm::mixerGetLineControlsA(object(line.mixer), &controls,
                                     MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) != MMSYSERR_NOERROR)
        return FALSE;
    line.connected = !(info.fdwLine & MIXERLINE_LINEF_DISCONNECTED);
    line.controlId = control.dwControlID;
    line.minimum = static_cast<LONG>(control.Bounds.dwMinimum);
    line.maximum = static_cast<LONG>(control.Bounds.dwMaximum);
    return TRUE;
}

BOOL MixerLines::openLine(int slot)
{
    LockScope hold(lock_);
    if (!validSlot(slot))
        return FALSE;
    Line& line = lines_[slot];
    if (line.mixer)
        return TRUE;
    if (winmm::mixerOpen(&line.mixer, 0, reinterpret_cast<DWORD_PTR>(line.callbackWindow), 0,
                         line.callbackWindow ? CALLBACK_WINDOW : 0) != MMSYSERR_NOERROR) {
        line.mixer = nullptr;
        return FALSE;
    }
    if (!readLineControl(slot)) {
        closeLine(line);
        return FALSE;
    }
    return TRUE;
}

// One value, the same for every channel.
BOOL MixerLines::transferValue(int slot, BOOL write)
{
    if (!openLine(slot))
        return FALSE;
    Line& line = lines_[slot];
    MIXERCONTROLDETAILS_UNSIGNED value = {static_cast<DWORD>(line.value)};
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = line.controlId;
    details.cChannels = 1;
    details.cbDetails = sizeof value;
    details.paDetails = &value;
    const DWORD flags = MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE;
    MMRESULT result = write ? winmm::mixerSetControlDetails(object(line.mixer), &details, flags)
                            : winmm::mixerGetControlDetailsA(object(line.mixer), &details, flags);
    if (result != MMSYSERR_NOERROR)
        return FALSE;
    line.value = static_cast<LONG>(value.dwValue);
    return TRUE;
}

// Lines missing on this machine fail; the others are transferred.
BOOL MixerLines::transferAll(BOOL write, LONG value)
{
    BOOL any = FALSE;
    for (int slot = 0; slot < slotCount; ++slot) {
        if (write)
            lines_[slot].value = value;
        if (transferValue(slot, write))
            any = TRUE;
    }
    return any;
}

BOOL MixerLines::readVolume(int slot, Volume* volume)
{
    LockScope hold(lock_);
    if (slot == allSlots)
        return transferAll(FALSE, 0);
    if (!validSlot(slot) || !transferValue(slot, FALSE))
        return FALSE;
    const Line& line = lines_[slot];
    *volume = {line.controlId, line.connected, line.minimum, line.maximum, line.value};
    return TRUE;
}

BOOL MixerLines::writeVolume(int slot, LONG value)
{
    LockScope hold(lock_);
    if (slot == allSlots)
        return transferAll(TRUE, value);
    if (!validSlot(slot))
        return FALSE;
    lines_[slot].value = value;
    return transferValue(slot, TRUE);
}
