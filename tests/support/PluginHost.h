#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The plug-in file that this build's viewers load: "pixamor.spi" for
// 32-bit viewers, "pixamor.sph" for 64-bit ones.
extern const char PluginFileName[];

// An image viewer's side of the plug-in: loads the built PluginFileName from
// beside the tests with LoadLibrary, resolves the six exports by name and
// calls them as viewers do. Every picture received is checked and its
// blocks freed with LocalFree.
class PluginHost {
public:
    PluginHost();
    // A plug-in from another folder, such as an unpacked package.
    explicit PluginHost(const std::string& path);
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    bool loaded() const { return isSupported_ && getPictureInfo_ && getPicture_ && getPreview_ && configure_; }

    // The name as given with dw as given.
    int isSupported(const char* name, ULONG_PTR dw) const;
    // The full path with the address of its first 2 KB, zero-padded.
    int isSupportedWithHead(const std::string& path) const;

    // What one picture export answered.
    struct Received {
        int result = -1;
        LONG width = 0;
        LONG height = 0;
        WORD bitCount = 0;
        std::string problem;              // empty when the picture is sound
        std::vector<unsigned char> bmp;   // the picture as a BMP file
    };
    // IsSupportedW; dw is a head's address or 0.
    int isSupportedWide(const std::wstring& name, ULONG_PTR dw) const;
    // GetPictureW (or GetPreviewW) of a file, and of a memory image.
    Received pictureWide(const std::wstring& path, bool preview = false) const;
    Received pictureWideFromMemory(const std::vector<unsigned char>& bytes) const;
    // GetPicture (or GetPreview) of a file, and of a memory image.
    Received picture(const std::string& path, bool preview = false) const;
    Received pictureFromMemory(const std::vector<unsigned char>& bytes, bool preview = false) const;
    // GetPictureInfo; the record's fields as width, height and bitCount.
    Received pictureInfo(const char* buf, LONG_PTR len, UINT flag) const;
    // The raw export, for bad input.
    int getPicture(const char* buf, LONG_PTR len, UINT flag, HLOCAL* info, HLOCAL* bits) const;
    int configurationDialog(HWND parent, int fnc) const;

private:
    typedef int(WINAPI* WidePictureEntry)(LPCWSTR, LONG_PTR, UINT, HLOCAL*, HLOCAL*, FARPROC, LONG_PTR);
    Received receive(const char* buf, LONG_PTR len, UINT flag, bool preview) const;
    Received receiveWide(const void* buf, LONG_PTR len, UINT flag, bool preview) const;

    HMODULE module_ = nullptr;
    int(WINAPI* isSupported_)(LPCSTR, ULONG_PTR) = nullptr;
    int(WINAPI* getPictureInfo_)(LPCSTR, LONG_PTR, UINT, void*) = nullptr;
    int(WINAPI* getPicture_)(LPCSTR, LONG_PTR, UINT, HLOCAL*, HLOCAL*, FARPROC, LONG_PTR) = nullptr;
    int(WINAPI* getPreview_)(LPCSTR, LONG_PTR, UINT, HLOCAL*, HLOCAL*, FARPROC, LONG_PTR) = nullptr;
    int(WINAPI* configure_)(HWND, int) = nullptr;
    int(WINAPI* isSupportedWide_)(LPCWSTR, ULONG_PTR) = nullptr;
    WidePictureEntry getPictureWide_ = nullptr;
    WidePictureEntry getPreviewWide_ = nullptr;
};

// The first 2 KB of a medium (zero-padded) where a viewer's head image may
// lie: in 64-bit above 4 GB with bits 16 to 31 clear, so that a dw cut to 32
// bits, or tested by its HIWORD, is seen for what it is.
class HeadImage {
public:
    explicit HeadImage(const std::vector<unsigned char>& bytes);
    ~HeadImage();
    HeadImage(const HeadImage&) = delete;
    HeadImage& operator=(const HeadImage&) = delete;
    ULONG_PTR address() const { return (ULONG_PTR)block_; }

private:
    void* block_;
};

// Writes a received picture as a BMP file (for looking at it).
bool saveAsBmp(const PluginHost::Received& picture, const std::string& path);

// The value the next new handle gets: Wine hands out the lowest free slot,
// so a handle left open moves it (GetProcessHandleCount answers 0 there).
UINT_PTR nextHandle();
