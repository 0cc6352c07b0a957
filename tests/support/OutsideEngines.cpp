#include "OutsideEngines.h"

#include <vector>

#include "MediaFiles.h"
#include "TestPaths.h"

namespace {

const unsigned bytesPerSecond = 16000;
const char missing[] = "\x01missing";

bool writeStub(const std::string& path, const unsigned char (&head)[4], unsigned seconds)
{
    std::vector<unsigned char> bytes(seconds * bytesPerSecond, 0);
    if (bytes.size() < 4)
        bytes.resize(4);
    for (int i = 0; i < 4; ++i)
        bytes[i] = head[i];
    return writeBytes(path, bytes);
}

} // namespace

bool useVbmp3Double(bool use)
{
    return SetDllDirectoryA(use ? besideTests("doubles").c_str() : nullptr) != FALSE;
}

FARPROC vbmp3DoubleEntry(const char* name)
{
    HMODULE library = GetModuleHandleA("VBMP3.DLL");
    return library ? GetProcAddress(library, name) : nullptr;
}

bool writeMp3Stub(const std::string& path, unsigned seconds)
{
    const unsigned char frameHeader[4] = {0xFF, 0xFB, 0x90, 0x00};
    return writeStub(path, frameHeader, seconds);
}

bool writeMpegStub(const std::string& path, unsigned seconds)
{
    const unsigned char packHeader[4] = {0x00, 0x00, 0x01, 0xBA};
    return writeStub(path, packHeader, seconds);
}

SoftMpegInstall::SoftMpegInstall(const char* driverName, bool copyDriver)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    driverPath_ = std::string(system) + "\\necmpg2.drv";
    char entry[MAX_PATH];
    GetPrivateProfileStringA("mci", "mpeg2video", missing, entry, MAX_PATH, "system.ini");
    hadEntry_ = lstrcmpA(entry, missing) != 0;
    savedEntry_ = entry;
    if (!copyDriver && fileExists(driverPath_)) {
        movedDriver_ = MoveFileA(driverPath_.c_str(), (driverPath_ + ".saved").c_str()) != FALSE;
        if (!movedDriver_)
            return;
    }
    if (copyDriver && !fileExists(driverPath_)) {
        copiedDriver_ = CopyFileA(besideTests("doubles\\necmpg2.drv").c_str(), driverPath_.c_str(), TRUE) != FALSE;
        if (!copiedDriver_)
            return;
    }
    installed_ = WritePrivateProfileStringA("mci", "mpeg2video", driverName, "system.ini") != FALSE;
}

SoftMpegInstall::~SoftMpegInstall()
{
    WritePrivateProfileStringA("mci", "mpeg2video", hadEntry_ ? savedEntry_.c_str() : nullptr, "system.ini");
    if (copiedDriver_)
        DeleteFileA(driverPath_.c_str());
    if (movedDriver_)
        MoveFileA((driverPath_ + ".saved").c_str(), driverPath_.c_str());
}
