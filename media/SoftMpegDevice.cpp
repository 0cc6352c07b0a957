#include "SoftMpegDevice.h"
#include "Winmm.h"

namespace {

const char driverFile[] = "necmpg2.drv";
const char mpegDevice[] = "mpeg2video";
const DWORD openByTypeName = MCI_OPEN_TYPE | MCI_OPEN_ELEMENT;

bool systemIniNamesDriver()
{
    char driver[MAX_PATH];
    GetPrivateProfileStringA("mci", mpegDevice, "", driver, sizeof driver, "system.ini");
    return lstrcmpiA(driver, driverFile) == 0;
}

bool driverFileExists()
{
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, sizeof path);
    if (length == 0 || length + 1 + sizeof driverFile > sizeof path)
        return false;
    lstrcatA(path, "\\");
    lstrcatA(path, driverFile);
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace

BOOL SoftMpegDevice::isAvailable()
{
    LockScope hold(lock);
    return systemIniNamesDriver() && driverFileExists();
}

BOOL SoftMpegDevice::probe(const char* fileName)
{
    LockScope hold(lock);
    BOOL opened = openWithDevice(fileName, mpegDevice, openByTypeName);
    close();
    return opened;
}

BOOL SoftMpegDevice::open(const char* fileName)
{
    LockScope hold(lock);
    if (!fileName || !isAvailable())
        return FALSE;
    close();
    return openWithDevice(fileName, mpegDevice, openByTypeName);
}
