#include "InfoCache.h"

#include <string.h>

#include "BmpHeader.h"
#include "CountedLock.h"
#include "PluginSettings.h"
#include "PluginState.h"
#include "RecognitionFile.h"

namespace {

// A file's verdict and its picture entry change together: support questions
// on other threads store verdicts without the picture lock.
CountedLock EntryLock;

const char* const pictureValues[] = {"Image", "ImageSize", "ImageCreated", "ImageLastWritten"};

const char* sectionName(bool openable) { return openable ? "Openable" : "Unopenable"; }

// The picture as a BMP file; a picture whose header does not describe its
// own blocks is not written.
bool writeBmpFile(const char* path, const Picture& picture)
{
    DibLayout layout;
    if (!picture.bits || !readPictureLayout(picture, &layout))
        return false;
    BYTE fileHeader[BmpFileHeaderSize];
    if (!writeBmpFileHeader(fileHeader, layout.infoBytes(), layout.pixelBytes))
        return false;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const void* parts[] = {fileHeader, picture.info, picture.bits};
    const DWORD sizes[] = {sizeof fileHeader, layout.infoBytes(), layout.pixelBytes};
    bool written = true;
    for (int i = 0; i < 3 && written; ++i) {
        DWORD done = 0;
        written = WriteFile(file, parts[i], sizes[i], &done, nullptr) && done == sizes[i];
    }
    CloseHandle(file);
    if (!written)
        DeleteFileA(path);
    return written;
}

} // namespace

bool stampOf(const RecognitionFile& file, FileStamp* stamp)
{
    ULONGLONG size;
    if (!file.size(&size) || !file.times(&stamp->created, &stamp->lastWritten))
        return false;
    stamp->size = (DWORD)size;
    return true;
}

bool stampOfPath(const char* path, FileStamp* stamp)
{
    RecognitionFile file(path);
    return stampOf(file, stamp);
}

CacheSection::CacheSection(bool openable)
{
    HeapText path = cacheStore.fullKeyPath(sectionName(openable));
    if (path)
        RegCreateKeyExA(cacheStore.root(), path.get(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        &key_, nullptr);
}

CacheSection::~CacheSection()
{
    if (key_)
        RegCloseKey(key_);
}

bool CacheSection::LookupVerdict(const char* name, const FileStamp* stamp, DWORD* verdict) const
{
    char stored[MAX_PATH];
    FileStamp opened;
    if (!name || !key_ || !readText(nullptr, stored) || strcmp(stored, name) != 0)
        return false;
    if (!stamp && !stampOfPath(name, &opened))
        return false;
    if (!matches(stamp ? *stamp : opened, "Size", "Created", "LastWritten"))
        return false;
    if (!read("Playable", verdict, sizeof *verdict))
        *verdict = 0;
    return true;
}

void CacheSection::StoreVerdict(const char* name, DWORD verdict, const FileStamp* seen) const
{
    if (!name)
        return;
    LockScope hold(EntryLock);
    clearPicture();
    text(nullptr, name);
    number("Playable", verdict);
    FileStamp stamp = {};
    if (seen) {
        stamp = *seen;
        number("Size", stamp.size);
    } else {
        remove("Size");
    }
    time("Created", stamp.created);
    time("LastWritten", stamp.lastWritten);
}

bool CacheSection::LookupPicture(char* path) const
{
    FileStamp now;
    return key_ && readText("Image", path) && stampOfPath(path, &now) &&
           matches(now, "ImageSize", "ImageCreated", "ImageLastWritten");
}

void CacheSection::StorePictureEntry(const char* path, const FileStamp& stamp) const
{
    number("ImageSize", stamp.size);
    time("ImageCreated", stamp.created);
    time("ImageLastWritten", stamp.lastWritten);
    text("Image", path);
}

bool CacheSection::read(const char* name, void* data, DWORD size) const
{
    DWORD got = size;
    return RegQueryValueExA(key_, name, nullptr, nullptr, (BYTE*)data, &got) == ERROR_SUCCESS && got == size;
}

bool CacheSection::readText(const char* name, char* text) const
{
    DWORD type = REG_NONE;
    DWORD got = MAX_PATH - 1;
    if (RegQueryValueExA(key_, name, nullptr, &type, (BYTE*)text, &got) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    text[got] = 0;
    return true;
}

bool CacheSection::matches(const FileStamp& now, const char* size, const char* created, const char* lastWritten) const
{
    FileStamp stored;
    return read(size, &stored.size, sizeof stored.size) && stored.size == now.size &&
           read(created, &stored.created, sizeof stored.created) &&
           read(lastWritten, &stored.lastWritten, sizeof stored.lastWritten) &&
           memcmp(&stored.created, &now.created, sizeof now.created) == 0 &&
           memcmp(&stored.lastWritten, &now.lastWritten, sizeof now.lastWritten) == 0;
}

void CacheSection::set(const char* name, DWORD type, const void* data, DWORD size) const
{
    if (key_)
        RegSetValueExA(key_, name, 0, type, (const BYTE*)data, size);
}

void CacheSection::remove(const char* name) const
{
    if (key_)
        RegDeleteValueA(key_, name);
}

void CacheSection::clearPicture() const
{
    for (const char* name : pictureValues)
        remove(name);
}

void StorePicture(const Picture& picture, bool openable, const char* name, const FileStamp* stamp)
{
    LockScope hold(EntryLock);
    // The other section's entry describes the file about to be replaced.
    CacheSection(!openable).clearPicture();
    CacheSection section(openable);
    // Since this file's verdict was stored, a support question may have named
    // another file in the section: the picture is not that file's.
    DWORD verdict;
    if (name && !section.LookupVerdict(name, stamp, &verdict))
        return;
    FileStamp written;
    // A file that could not be written still holds another medium's picture:
    // stamping it would hand that picture out for this medium.
    if (writeBmpFile(CacheImagePath, picture) && stampOfPath(CacheImagePath, &written))
        section.StorePictureEntry(CacheImagePath, written);
    else
        section.clearPicture();
}

void ClearPicture(bool openable)
{
    LockScope hold(EntryLock);
    CacheSection(openable).clearPicture();
}
