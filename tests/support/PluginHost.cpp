#include "PluginHost.h"

#include <string.h>

#include "MediaFiles.h"
#include "TestPaths.h"

namespace {

#pragma pack(push, 1)
struct InfoRecord {
    LONG left, top, width, height;
    WORD xDensity, yDensity;
    SHORT colorDepth;
    HLOCAL text;
};
#pragma pack(pop)

DWORD rowBytes(LONG width, WORD bits) { return ((DWORD)width * bits + 31) / 32 * 4; }

// Checks what a viewer relies on and copies the picture into a BMP file's
// bytes; the blocks are locked as some viewers do (LocalLock) and freed.
void take(HLOCAL info, HLOCAL bits, PluginHost::Received* out)
{
    const BITMAPINFOHEADER* header = (const BITMAPINFOHEADER*)LocalLock(info);
    const BYTE* rows = (const BYTE*)LocalLock(bits);
    SIZE_T infoSize = LocalSize(info), bitsSize = LocalSize(bits);
    if (!header || !rows || header != (const void*)info || rows != (const void*)bits)
        out->problem = "a block is not fixed: its handle is not its address";
    else if (header->biSize != 40 || header->biPlanes != 1 || header->biWidth <= 0 || header->biHeight == 0)
        out->problem = "bad header";
    else {
        DWORD colours = header->biBitCount <= 8 ? (header->biClrUsed ? header->biClrUsed : 1u << header->biBitCount)
                                                : (header->biCompression == BI_BITFIELDS ? 3 : 0);
        DWORD pixels = rowBytes(header->biWidth, header->biBitCount) * (DWORD)labs(header->biHeight);
        if (infoSize < 40 + 4 * colours)
            out->problem = "colour table cut short";
        else if (bitsSize < pixels)
            out->problem = "pixel block smaller than its rows";
        else if (header->biSizeImage != pixels)
            out->problem = "biSizeImage is not the pixel block's size";
        else {
            out->width = header->biWidth;
            out->height = header->biHeight;
            out->bitCount = header->biBitCount;
            DWORD infoBytes = 40 + 4 * colours;
            BITMAPFILEHEADER file = {0x4D42, 14 + infoBytes + pixels, 0, 0, 14 + infoBytes};
            out->bmp.assign((const BYTE*)&file, (const BYTE*)&file + 14);
            out->bmp.insert(out->bmp.end(), (const BYTE*)header, (const BYTE*)header + infoBytes);
            out->bmp.insert(out->bmp.end(), rows, rows + pixels);
        }
    }
    LocalUnlock(info);
    LocalUnlock(bits);
    if (LocalFree(info) || LocalFree(bits))
        out->problem = "LocalFree refused a block";
}

} // namespace

#ifdef _WIN64
const char PluginFileName[] = "pixamor.sph";
#else
const char PluginFileName[] = "pixamor.spi";
#endif

PluginHost::PluginHost() : PluginHost(besideTests(PluginFileName)) {}

PluginHost::PluginHost(const std::string& path) : module_(LoadLibraryA(path.c_str()))
{
    if (!module_)
        return;
    isSupported_ = (decltype(isSupported_))GetProcAddress(module_, "IsSupported");
    getPictureInfo_ = (decltype(getPictureInfo_))GetProcAddress(module_, "GetPictureInfo");
    getPicture_ = (decltype(getPicture_))GetProcAddress(module_, "GetPicture");
    getPreview_ = (decltype(getPreview_))GetProcAddress(module_, "GetPreview");
    configure_ = (decltype(configure_))GetProcAddress(module_, "ConfigurationDlg");
    isSupportedWide_ = (decltype(isSupportedWide_))GetProcAddress(module_, "IsSupportedW");
    getPictureWide_ = (decltype(getPictureWide_))GetProcAddress(module_, "GetPictureW");
    getPreviewWide_ = (decltype(getPreviewWide_))GetProcAddress(module_, "GetPreviewW");
}

PluginHost::~PluginHost()
{
    if (module_)
        FreeLibrary(module_);
}

int PluginHost::isSupported(const char* name, ULONG_PTR dw) const { return isSupported_(name, dw); }

int PluginHost::isSupportedWithHead(const std::string& path) const
{
    HeadImage head(readWholeFile(path));
    return isSupported_(path.c_str(), head.address());
}

int PluginHost::getPicture(const char* buf, LONG_PTR len, UINT flag, HLOCAL* info, HLOCAL* bits) const
{
    return getPicture_(buf, len, flag, info, bits, nullptr, 0);
}

int PluginHost::configurationDialog(HWND parent, int fnc) const { return configure_(parent, fnc); }

namespace {

void received(int result, HLOCAL info, HLOCAL bits, PluginHost::Received* out)
{
    out->result = result;
    if (result == 0)
        take(info, bits, out);
    else if (info || bits)
        out->problem = "a failed call handed out blocks";
}

} // namespace

PluginHost::Received PluginHost::receive(const char* buf, LONG_PTR len, UINT flag, bool preview) const
{
    Received out;
    HLOCAL info = nullptr, bits = nullptr;
    // The call comes first: as an argument beside info and bits, it may run
    // after they were copied (x86_64 GCC evaluates them right to left).
    int result = (preview ? getPreview_ : getPicture_)(buf, len, flag, &info, &bits, nullptr, 0);
    received(result, info, bits, &out);
    return out;
}

PluginHost::Received PluginHost::receiveWide(const void* buf, LONG_PTR len, UINT flag, bool preview) const
{
    Received out;
    HLOCAL info = nullptr, bits = nullptr;
    WidePictureEntry entry = preview ? getPreviewWide_ : getPictureWide_;
    if (!entry)
        out.problem = "no wide entry";
    else {
        int result = entry((LPCWSTR)buf, len, flag, &info, &bits, nullptr, 0);
        received(result, info, bits, &out);
    }
    return out;
}

int PluginHost::isSupportedWide(const std::wstring& name, ULONG_PTR dw) const
{
    return isSupportedWide_ ? isSupportedWide_(name.c_str(), dw) : -2;
}

PluginHost::Received PluginHost::pictureWide(const std::wstring& path, bool preview) const
{
    return receiveWide(path.c_str(), 0, 0, preview);
}

PluginHost::Received PluginHost::pictureWideFromMemory(const std::vector<unsigned char>& bytes) const
{
    return receiveWide(bytes.data(), (LONG_PTR)bytes.size(), 1, false);
}

PluginHost::Received PluginHost::picture(const std::string& path, bool preview) const
{
    return receive(path.c_str(), 0, 0, preview);
}

PluginHost::Received PluginHost::pictureFromMemory(const std::vector<unsigned char>& bytes, bool preview) const
{
    return receive((const char*)bytes.data(), (LONG_PTR)bytes.size(), 1, preview);
}

PluginHost::Received PluginHost::pictureInfo(const char* buf, LONG_PTR len, UINT flag) const
{
    Received out;
    InfoRecord record;
    memset(&record, 0x55, sizeof record);
    out.result = getPictureInfo_(buf, len, flag, &record);
    if (out.result != 0)
        return out;
    out.width = record.width;
    out.height = record.height;
    out.bitCount = (WORD)record.colorDepth;
    if (record.left || record.top || record.xDensity || record.yDensity || record.text)
        out.problem = "record fields that must be 0 are not";
    return out;
}

HeadImage::HeadImage(const std::vector<unsigned char>& bytes) : block_(nullptr)
{
    const SIZE_T size = 2048;
#ifdef _WIN64
    for (ULONG_PTR at = 0x100000000; !block_ && at <= 0x1000000000; at += 0x100000000)
        block_ = VirtualAlloc((void*)at, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#endif
    if (!block_)
        block_ = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE);
    if (block_)
        memcpy(block_, bytes.data(), bytes.size() < size ? bytes.size() : size);
}

HeadImage::~HeadImage()
{
    if (block_)
        VirtualFree(block_, 0, MEM_RELEASE);
}

bool saveAsBmp(const PluginHost::Received& picture, const std::string& path)
{
    return !picture.bmp.empty() && writeBytes(path, picture.bmp);
}

UINT_PTR nextHandle()
{
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(probe);
    return (UINT_PTR)probe;
}
