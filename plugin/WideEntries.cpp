#include "WideEntries.h"

#include <new>
#include <string.h>
#include <wchar.h>

#include "AnsiName.h"
#include "RecognitionFile.h"

namespace {

// What the support question reads of a medium it does not open by name.
const DWORD SupportHeadSize = 2048;
// What a picture of such a file is built from: enough for every header
// that classification reads.
const DWORD PictureHeadSize = 64 * 1024;

bool isMemoryMode(UINT flag) { return (flag & 1) != 0; }

// A stand-in 8-bit name for a file that has none: "?" (which names no file)
// and the file's extension, which is all of the name that the answer for a
// head depends on.
void standInName(const wchar_t* wide, char* ansi)
{
    const wchar_t* dot = wcsrchr(wide, L'.');
    ansi[0] = '?';
    if (!dot || wcschr(dot, L'\\') || wcschr(dot, L'/') || !exactAnsiName(dot, ansi + 1))
        ansi[1] = 0;
}

// The first bytes of a file opened by its UTF-16 name, zero-padded to the
// buffer's size; the count read is 0 when it does not open or is empty.
class WideHead {
public:
    WideHead(const wchar_t* name, DWORD size) : bytes_(new (std::nothrow) BYTE[size]())
    {
        RecognitionFile file(name);
        if (bytes_)
            read_ = file.readSomeAt(0, bytes_, size);
    }
    ~WideHead() { delete[] bytes_; }
    WideHead(const WideHead&) = delete;
    WideHead& operator=(const WideHead&) = delete;

    const char* bytes() const { return (const char*)bytes_; }
    DWORD read() const { return read_; }

private:
    BYTE* bytes_;
    DWORD read_ = 0;
};

} // namespace

int IsSupportedWide(const wchar_t* filename, ULONG_PTR dw)
{
    char name[MAX_PATH];
    if (!filename)
        return 0;
    if (openableAnsiName(filename, name))
        return IsSupportedFile(name, dw);
    standInName(filename, name);
    WideHead head(filename, SupportHeadSize);
    // A name that does not open is an archive member, whose head is in dw.
    return IsSupportedFile(name, head.read() ? (ULONG_PTR)head.bytes() : dw);
}

int GetPictureInfoWide(const wchar_t* buf, LONG_PTR len, UINT flag, PictureInfo* info)
{
    char name[MAX_PATH];
    if (isMemoryMode(flag) || !buf)
        return GetPictureInfoOf((const char*)buf, len, flag, info);
    if (openableAnsiName(buf, name))
        return GetPictureInfoOf(name, len, flag, info);
    WideHead head(buf, PictureHeadSize);
    return GetPictureInfoOf(head.read() ? head.bytes() : nullptr, head.read(), flag | 1, info);
}

int GetPictureWide(const wchar_t* buf, LONG_PTR len, UINT flag, HGLOBAL* info, HGLOBAL* bits, bool preview)
{
    char name[MAX_PATH];
    if (isMemoryMode(flag) || !buf)
        return GetPictureOf((const char*)buf, len, flag, info, bits, preview);
    if (openableAnsiName(buf, name))
        return GetPictureOf(name, len, flag, info, bits, preview);
    if (!info || !bits)
        return -1;
    WideHead head(buf, PictureHeadSize);
    return BuildPicture(head.read() ? head.bytes() : nullptr, head.read(), flag | 1, info, bits);
}
