#include "InfoCache.h"

#include <string.h>

#include "BmpHeader.h"
#include "PluginSettings.h"
#include "PluginState.h"
#include "RecognitionFile.h"

namespace {

const char* const pictureValues[] = {"Image", "ImageSize", "ImageCreated", "ImageLastWritten"};

const char* sectionName(bool openable) { return openable ? "Openable" : "Unopenable"; }

// The size and times of a file that opens.
struct FileStamp {
    DWORD size;
    FILETIME created;
    FILETIME lastWritten;
};

bool stampOf(const char* path, FileStamp* stamp)
{
    RecognitionFile file(path);
    ULONGLONG size;
    if (!file.size(&size) || !file.times(&stamp->created, &stamp->lastWritten))
        return false;
    stamp->size = (DWORD)size;
    return true;
}

// One section's key, opened once for all the values a lookup reads.
class SectionKey {
public:
    explicit SectionKey(bool openable) : key_(cacheStore.value(nullptr, 0, sectionName(openable)).openKey()) {}
    ~SectionKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    SectionKey(const SectionKey&) = delete;
    SectionKey& operator=(const SectionKey&) = delete;

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
        return stampOf(path, &now) && read(size, &stored.size, sizeof stored.size) && stored.size == now.size &&
               read(created, &stored.created, sizeof stored.created) &&
               read(lastWritten, &stored.lastWritten, sizeof stored.lastWritten) &&
               memcmp(&stored.created, &now.created, sizeof now.created) == 0 &&
               memcmp(&stored.lastWritten, &now.lastWritten, sizeof now.lastWritten) == 0;
    }

private:
    HKEY key_;
};

void writeTime(const char* name, const FILETIME& time, const char* section)
{
    cacheStore.writeBinary(ByteBuffer(&time, sizeof time), name, section);
}

void clearPictureValues(const char* section)
{
    for (const char* name : pictureValues)
        cacheStore.deleteValue(name, section);
}

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

void StoreVerdict(const char* name, DWORD verdict, bool openable)
{
    if (!name)
        return;
    const char* section = sectionName(openable);
    clearPictureValues(section);
    cacheStore.writeText(name, nullptr, section);
    cacheStore.writeNumber(verdict, "Playable", section);
    FileStamp stamp = {};
    if (stampOf(name, &stamp))
        cacheStore.writeNumber(stamp.size, "Size", section);
    else
        cacheStore.deleteValue("Size", section);
    writeTime("Created", stamp.created, section);
    writeTime("LastWritten", stamp.lastWritten, section);
}

bool LookupPicture(bool openable, char* path)
{
    SectionKey key(openable);
    return key && key.readText("Image", path) && key.matches(path, "ImageSize", "ImageCreated", "ImageLastWritten");
}

void StorePicture(const Picture& picture, bool openable)
{
    cacheStore.writeText(CacheImagePath, "Image", sectionName(openable));
    cacheStore.deleteValue("Image", sectionName(!openable));
    writeBmpFile(CacheImagePath, picture);
}

void StorePictureEntry(const char* path, bool openable)
{
    const char* section = sectionName(openable);
    FileStamp stamp;
    if (!path || !stampOf(path, &stamp)) {
        clearPictureValues(section);
        return;
    }
    cacheStore.writeNumber(stamp.size, "ImageSize", section);
    writeTime("ImageCreated", stamp.created, section);
    writeTime("ImageLastWritten", stamp.lastWritten, section);
    cacheStore.writeText(path, "Image", section);
    clearPictureValues(sectionName(!openable));
}
