// A stand-in for the outside MPEG MCI driver, for tests only. It decodes
// nothing: it takes elements that begin with an MPEG pack or sequence header,
// counts one second per 16000 bytes, and keeps the position with the wall
// clock. It has no picture, so MCI_WHERE and MCI_WINDOW are unsupported.
#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

namespace {

const DWORD bytesPerSecond = 16000;

struct Instance {
    bool open = false;
    DWORD mode = MCI_MODE_NOT_READY;
    DWORD lengthMs = 0;
    DWORD positionMs = 0; // at anchorTick
    DWORD anchorTick = 0;
};

DWORD currentMs(const Instance& device)
{
    if (device.mode != MCI_MODE_PLAY)
        return device.positionMs;
    DWORD ms = device.positionMs + (GetTickCount() - device.anchorTick);
    return ms < device.lengthMs ? ms : device.lengthMs;
}

void setMode(Instance& device, DWORD mode, DWORD positionMs)
{
    device.mode = mode;
    device.positionMs = positionMs < device.lengthMs ? positionMs : device.lengthMs;
    device.anchorTick = GetTickCount();
}

bool isMpegHeader(const BYTE* head)
{
    return head[0] == 0 && head[1] == 0 && head[2] == 1 && (head[3] == 0xBA || head[3] == 0xB3);
}

LRESULT openElement(Instance& device, DWORD flags, const MCI_OPEN_PARMSW* parms)
{
    if (!(flags & MCI_OPEN_ELEMENT) || !parms || !parms->lpstrElementName)
        return MCIERR_MISSING_PARAMETER;
    HANDLE file = CreateFileW(parms->lpstrElementName, GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return MCIERR_FILE_NOT_FOUND;
    BYTE head[4] = {};
    DWORD read = 0;
    DWORD size = GetFileSize(file, nullptr);
    bool taken = ReadFile(file, head, sizeof head, &read, nullptr) && read == sizeof head && isMpegHeader(head);
    CloseHandle(file);
    if (!taken)
        return MCIERR_INVALID_FILE;
    device.open = true;
    device.lengthMs = (DWORD)((ULONGLONG)size * 1000 / bytesPerSecond);
    setMode(device, MCI_MODE_STOP, 0);
    return 0;
}

LRESULT status(Instance& device, DWORD flags, MCI_STATUS_PARMS* parms)
{
    if (!(flags & MCI_STATUS_ITEM) || !parms)
        return MCIERR_MISSING_PARAMETER;
    switch (parms->dwItem) {
    case MCI_STATUS_LENGTH: parms->dwReturn = device.lengthMs; return 0;
    case MCI_STATUS_POSITION: parms->dwReturn = currentMs(device); return 0;
    case MCI_STATUS_MODE:
        if (device.mode == MCI_MODE_PLAY && currentMs(device) >= device.lengthMs)
            setMode(device, MCI_MODE_STOP, device.lengthMs);
        parms->dwReturn = device.mode;
        return 0;
    case MCI_STATUS_READY: parms->dwReturn = TRUE; return 0;
    default: return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

LRESULT set(DWORD flags, const MCI_SET_PARMS* parms)
{
    if ((flags & MCI_SET_TIME_FORMAT) && (!parms || parms->dwTimeFormat != MCI_FORMAT_MILLISECONDS))
        return MCIERR_BAD_TIME_FORMAT;
    return 0;
}

LRESULT play(Instance& device, DWORD flags, const MCI_PLAY_PARMS* parms)
{
    DWORD from = (flags & MCI_FROM) && parms ? parms->dwFrom : currentMs(device);
    if (from >= device.lengthMs)
        from = 0;
    setMode(device, MCI_MODE_PLAY, from);
    return 0;
}

LRESULT command(Instance& device, UINT message, DWORD flags, LPARAM parms)
{
    if (message == MCI_OPEN_DRIVER)
        return openElement(device, flags, (const MCI_OPEN_PARMSW*)parms);
    if (message == MCI_CLOSE_DRIVER || message == MCI_CLOSE) {
        device.open = false;
        return 0;
    }
    if (!device.open)
        return MCIERR_UNSUPPORTED_FUNCTION;
    switch (message) {
    case MCI_STATUS: return status(device, flags, (MCI_STATUS_PARMS*)parms);
    case MCI_SET: return set(flags, (const MCI_SET_PARMS*)parms);
    case MCI_PLAY: return play(device, flags, (const MCI_PLAY_PARMS*)parms);
    case MCI_STOP: setMode(device, MCI_MODE_STOP, currentMs(device)); return 0;
    case MCI_PAUSE:
        if (device.mode == MCI_MODE_PLAY)
            setMode(device, MCI_MODE_PAUSE, currentMs(device));
        return 0;
    case MCI_RESUME:
        if (device.mode == MCI_MODE_PAUSE)
            setMode(device, MCI_MODE_PLAY, device.positionMs);
        return 0;
    case MCI_SEEK:
        if (!(flags & MCI_TO) || !parms)
            return MCIERR_MISSING_PARAMETER;
        setMode(device, MCI_MODE_STOP, ((const MCI_SEEK_PARMS*)parms)->dwTo);
        return 0;
    default: return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

LRESULT openInstance(LPARAM parms)
{
    MCI_OPEN_DRIVER_PARMS* open = (MCI_OPEN_DRIVER_PARMS*)parms;
    if (!open)
        return 1; // opened as a plain driver, for configuration
    open->wCustomCommandTable = MCI_NO_COMMAND_TABLE;
    open->wType = MCI_DEVTYPE_DIGITAL_VIDEO;
    return (LRESULT) new Instance;
}

} // namespace

extern "C" LRESULT WINAPI DriverProc(DWORD_PTR id, HDRVR, UINT message, LPARAM first, LPARAM second)
{
    switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
        return 1;
    case DRV_OPEN:
        return openInstance(second);
    case DRV_CLOSE:
        if (id > 1)
            delete (Instance*)id;
        return 1;
    case DRV_QUERYCONFIGURE:
        return 0;
    case DRV_INSTALL:
    case DRV_REMOVE:
        return DRVCNF_OK;
    }
    if (message < DRV_MCI_FIRST || message > DRV_MCI_LAST)
        return 0;
    if (id <= 1)
        return MCIERR_UNSUPPORTED_FUNCTION;
    return command(*(Instance*)id, message, (DWORD)first, second);
}
