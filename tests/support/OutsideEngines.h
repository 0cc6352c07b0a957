#pragma once
#include <windows.h>

#include <string>

// The stand-ins for the outside engines, built into "doubles" beside the tests.

// Lets LoadLibraryA("VBMP3.DLL") of this process find the stand-in library
// (or, with use false, no longer find it).
bool useVbmp3Double(bool use = true);

// A test entry of the loaded stand-in library (vbmp3test_*), null when the
// library is not loaded.
FARPROC vbmp3DoubleEntry(const char* name);

// Files the stand-ins take: an MP3 frame header or an MPEG pack header
// followed by 16000 bytes per second of length.
bool writeMp3Stub(const std::string& path, unsigned seconds);
bool writeMpegStub(const std::string& path, unsigned seconds);

// Installs the stand-in MCI driver as "necmpg2.drv" in the system directory
// and names driverName for "mpeg2video" in the [mci] section of
// "system.ini"; with copyDriver false the driver file is kept out of the
// system directory. The
// destructor puts both back as they were.
class SoftMpegInstall {
public:
    explicit SoftMpegInstall(const char* driverName = "necmpg2.drv", bool copyDriver = true);
    ~SoftMpegInstall();
    SoftMpegInstall(const SoftMpegInstall&) = delete;
    SoftMpegInstall& operator=(const SoftMpegInstall&) = delete;

    bool installed() const { return installed_; }

private:
    std::string driverPath_;
    std::string savedEntry_;
    bool hadEntry_ = false;
    bool copiedDriver_ = false;
    bool movedDriver_ = false;
    bool installed_ = false;
};
