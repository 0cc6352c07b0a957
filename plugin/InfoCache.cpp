#include "InfoCache.h"

#include <string.h>

#include "BmpHeader.h"
#include "PluginSettings.h"
#include "PluginState.h"
#include "RecognitionFile.h"

namespace {

const char* const pictureValues[] = {"Image", "ImageSize", "ImageCreated", "ImageLastWritten"};

const char* sectionName(bool openable) { return openable ? "Openable" : "Unopenable"; }

bool stampOfPath(const char* path, FileStamp* stamp)
{
    RecognitionFile file(path);
    return stampOf(file, stamp);
}

// A section's registry key, closed at the end of the scope.
class OwnedKey {
public:
    OwnedKey() = default;
    ~OwnedKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    OwnedKey(const OwnedKey&) = delete;
    OwnedKey& operator=(const OwnedKey&) = delete;

protected:
    HKEY key_ = nullptr;
};

// One section's key, opened once for all the values a lookup reads.
class SectionKey : private OwnedKey {
public:
    explicit SectionKey(bool openable) { key_ = cacheStore.value(nullptr, 0, sectionName(openable)).openKey(); }

    explicit operator bool() const { return key_ != nullptr; }
    // True when the value has exactly size bytes.
    bool read(const char* name, void* data, DWORD size) const
    {
        DWORD got = size;
        return RegQueryValueExA(key_, name, nullptr, nullptr, (BYTE*)data, &got) == ERROR_SUCCESS && got == size;
    }
    // A REG_SZ of at most MAX_PATH bytes with its terminator.
    bool readText(const char* name, char* text) const
    {
        DWORD type = REG_NONE;
        DWORD got = MAX_PATH - 1;
        if (RegQueryValueExA(key_, name, nullptr, &type, (BYTE*)text, &got) != ERROR_SUCCESS || type != REG_SZ)
            return false;
        text[got] = 0;
        return true;
    }
    // Whether the file still has the stamp stored under the three names.
    bool matches(const char* path, const char* size, const char* created, const char* lastWritten) const
    {
        FileStamp now, stored;
        return stampOfPath(path, &now) && read(size, &stored.size, sizeof stored.size) && stored.size == now.size &&
               read(created, &stored.created, sizeof stored.created) &&
               read(lastWritten, &stored.lastWritten, sizeof stored.lastWritten) &&
               memcmp(&stored.created, &now.created, sizeof now.created) == 0 &&
               memcmp(&stored.lastWritten, &now.lastWritten, sizeof now.lastWritten) == 0;
    }
};

// One section's key, created once for all the values a store writes.
class SectionWriter : private OwnedKey {
public:
    explicit SectionWriter(bool openable)
    {
        HeapText path = cacheStore.fullKeyPath(sectionName(openable));
        if (path)
            RegCreateKeyExA(cacheStore.root(), path.get(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr);
    }

    void text(const char* name, const char* value) const { set(name, REG_SZ, value, (DWORD)strlen(value) + 1); }
    void number(const char* name, DWORD value) const { set(name, REG_DWORD, &value, sizeof value); }
    void time(const char* name, const FILETIME& value) const { set(name, REG_BINARY, &value, sizeof value); }
    void remove(const char* name) const
    {
        if (key_)
            RegDeleteValueA(key_, name);
    }
    void clearPicture() const
    {
        for (const char* name : pictureValues)
            remove(name);
    }

private:
    void set(const char* name, DWORD type, const void* data, DWORD size) const
    {
        if (key_)
            RegSetValueExA(key_, name, 0, type, (const BYTE*)data, size);
    }
};

// The picture as a BMP file; a picture whose header does not describe its
// own blocks is not written.
bool writeBmpFile(const char* path, const Picture& picture)
{
    DibLayout layout;
    if (!picture.info || !picture.bits || GlobalSize(picture.info) < DibHeaderSize ||
        !readDibLayout((const BYTE*)picture.info, GlobalSize(picture.info), &layout) ||
        GlobalSize(picture.info) < layout.infoBytes() || GlobalSize(picture.bits) < layout.pixelBytes)
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

bool LookupVerdict(const char* name, bool openable, DWORD* verdict)
{
    SectionKey key(openable);
    char stored[MAX_PATH];
    if (!name || !key || !key.readText(nullptr, stored) || strcmp(stored, name) != 0 ||
        !key.matches(name, "Size", "Created", "LastWritten"))
        return false;
    if (!key.read("Playable", verdict, sizeof *verdict))
        *verdict = 0;
    return true;
}

bool stampOf(const RecognitionFile& file, FileStamp* stamp)
{
    ULONGLONG size;
    if (!file.size(&size) || !file.times(&stamp->created, &stamp->lastWritten))
        return false;
    stamp->size = (DWORD)size;
    return true;
}

void StoreVerdict(const char* name, DWORD verdict, bool openable, const FileStamp* seen)
{
    if (!name)
        return;
    SectionWriter section(openable);
    section.clearPicture();
    section.text(nullptr, name);
    section.number("Playable", verdict);
    FileStamp stamp = {};
    if (seen)
        stamp = *seen;
    if (seen || stampOfPath(name, &stamp))
        section.number("Size", stamp.size);
    else
        section.remove("Size");
    section.time("Created", stamp.created);
    section.time("LastWritten", stamp.lastWritten);
}

bool LookupPicture(bool openable, char* path)
{
    SectionKey key(openable);
    return key && key.readText("Image", path) && key.matches(path, "ImageSize", "ImageCreated", "ImageLastWritten");
}

void StorePicture(const Picture& picture, bool openable)
{
    SectionWriter(openable).text("Image", CacheImagePath);
    SectionWriter(!openable).remove("Image");
    writeBmpFile(CacheImagePath, picture);
}

void StorePictureEntry(const char* path, bool openable)
{
    SectionWriter section(openable);
    FileStamp stamp;
    if (!path || !stampOfPath(path, &stamp)) {
        section.clearPicture();
        return;
    }
    section.number("ImageSize", stamp.size);
    section.time("ImageCreated", stamp.created);
    section.time("ImageLastWritten", stamp.lastWritten);
    section.text("Image", path);
    SectionWriter(!openable).clearPicture();
}
