// The playlist side of the media context: the three playlist tests and the
// readers that leave a playlist's entries in the context.
#include <algorithm>
#include <new>
#include <string.h>

#include "MediaContext.h"
#include "PlaylistText.h"
#include "TextLines.h"

namespace {

// A slot array sized from a count in the file is refused beyond this, as an
// allocation that cannot be made would be.
const UINT maxPlaylistEntries = 1u << 20;

bool isLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}

// The entries a reader collects, freed unless handed over with release().
class EntrySlots {
public:
    EntrySlots() = default;
    ~EntrySlots() { freeAll(); }
    EntrySlots(const EntrySlots&) = delete;
    EntrySlots& operator=(const EntrySlots&) = delete;

    bool allocate(UINT count)
    {
        if (count > maxPlaylistEntries)
            return false;
        slots_ = new (std::nothrow) char*[count]();
        count_ = count;
        return slots_ != nullptr;
    }
    bool full() const { return filled_ == count_; }
    bool append(const char* text, size_t length)
    {
        char* entry = new (std::nothrow) char[length + 1];
        if (!entry)
            return false;
        memcpy(entry, text, length);
        entry[length] = '\0';
        slots_[filled_++] = entry;
        return true;
    }
    bool append(const char* text) { return append(text, strlen(text)); }
    char** release()
    {
        char** slots = slots_;
        slots_ = nullptr;
        count_ = filled_ = 0;
        return slots;
    }

private:
    void freeAll()
    {
        for (UINT i = 0; i < filled_; ++i)
            delete[] slots_[i];
        delete[] slots_;
    }

    char** slots_ = nullptr;
    UINT count_ = 0;
    UINT filled_ = 0;
};

// A playlist named by a path: its format by extension, its full path and the
// directory of that path with its trailing backslash.
struct PlaylistFile {
    PlaylistFormat format = PlaylistFormatNone;
    char path[MAX_PATH];
    char directory[MAX_PATH];

    // False unless the name has a playlist extension and is an existing file.
    bool locate(const char* name)
    {
        if (!name)
            return false;
        format = playlistFormatOf(name);
        char* filePart = nullptr;
        DWORD length = GetFullPathNameA(name, MAX_PATH, path, &filePart);
        if (format == PlaylistFormatNone || length == 0 || length >= MAX_PATH || !filePart)
            return false;
        DWORD attributes = GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
        size_t directoryLength = (size_t)(filePart - path);
        memcpy(directory, path, directoryLength);
        directory[directoryLength] = '\0';
        return true;
    }
};

// The numbers n of the keys "File<n>" of the section "PlayList", from 1 to a
// limit, ascending and each once. Walking the keys that exist, rather than
// every number up to a count taken from the file, keeps the work bounded by
// the file's size.
class FileKeyNumbers {
public:
    FileKeyNumbers() = default;
    ~FileKeyNumbers() { delete[] numbers_; }
    FileKeyNumbers(const FileKeyNumbers&) = delete;
    FileKeyNumbers& operator=(const FileKeyNumbers&) = delete;

    bool read(const char* path, UINT limit)
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0 ||
            data.nFileSizeLow > MAXDWORD - 16)
            return false;
        // The key names with their NULs never outgrow the file.
        DWORD size = data.nFileSizeLow + 16;
        char* names = new (std::nothrow) char[size];
        if (!names)
            return false;
        names[0] = names[1] = '\0';
        GetPrivateProfileStringA("PlayList", nullptr, "", names, size, path);
        bool ok = collect(names, limit);
        delete[] names;
        return ok;
    }
    UINT count() const { return count_; }
    UINT operator[](UINT index) const { return numbers_[index]; }

private:
    // Calls take(number) for each key of names that is a file key within limit.
    template <class Take>
    static void forEachFileKey(const char* names, UINT limit, Take take)
    {
        for (const char* key = names; *key; key += strlen(key) + 1) {
            uint32_t number = 0;
            if (parseFileKey(key, &number) && number <= limit)
                take(number);
        }
    }

    bool collect(const char* names, UINT limit)
    {
        UINT found = 0;
        forEachFileKey(names, limit, [&found](UINT) { ++found; });
        numbers_ = new (std::nothrow) UINT[found ? found : 1];
        if (!numbers_)
            return false;
        forEachFileKey(names, limit, [this](UINT number) { numbers_[count_++] = number; });
        std::sort(numbers_, numbers_ + count_);
        count_ = (UINT)(std::unique(numbers_, numbers_ + count_) - numbers_);
        return true;
    }

    UINT* numbers_ = nullptr;
    UINT count_ = 0;
};

// Whether an entry of a line list names a file that opens for reading, read
// in the playlist's directory; the current directory is left alone since the
// plug-in shares it with the image viewer.
bool namesExistingFile(const PlaylistFile& playlist, const char* entry)
{
    char path[MAX_PATH];
    if (!resolveEntryPath(playlist.directory, entry, path, sizeof path))
        return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

UINT countLineList(const PlaylistFile& playlist)
{
    TextLines lines(playlist.path);
    UINT count = 0;
    while (lines.next()) {
        const char* line = cutAtLastLf(lines.line());
        if (isLineListEntry(line) && namesExistingFile(playlist, line))
            ++count;
    }
    return lines.failed() ? 0 : count;
}

UINT countProfileList(const PlaylistFile& playlist)
{
    char value[1024];
    GetPrivateProfileStringA("PlayList", "NumberOfEntries", "", value, sizeof value, playlist.path);
    return parseEntryCount(value);
}

UINT countReferenceList(const PlaylistFile& playlist)
{
    TextLines lines(playlist.path);
    UINT count = 0;
    while (lines.next()) {
        size_t start = 0, length = 0;
        if (findReference(cutAtLastLf(lines.line()), isLeadByte, &start, &length))
            ++count;
    }
    return lines.failed() ? 0 : count;
}

bool readLineList(const PlaylistFile& playlist, EntrySlots& slots)
{
    TextLines lines(playlist.path);
    while (!slots.full() && lines.next()) {
        const char* line = cutAtLastLf(lines.line());
        if (isLineListEntry(line) && !slots.append(line))
            return false;
    }
    return !lines.failed();
}

bool readProfileList(const PlaylistFile& playlist, UINT count, EntrySlots& slots)
{
    FileKeyNumbers numbers;
    if (!numbers.read(playlist.path, count))
        return false;
    for (UINT i = 0; i < numbers.count(); ++i) {
        char key[16];
        char value[TextLines::bufferSize];
        wsprintfA(key, "File%u", numbers[i]);
        if (GetPrivateProfileStringA("PlayList", key, "", value, sizeof value, playlist.path) && !slots.append(value))
            return false;
    }
    return true;
}

bool readReferenceList(const PlaylistFile& playlist, EntrySlots& slots)
{
    TextLines lines(playlist.path);
    while (!slots.full() && lines.next()) {
        const char* line = cutAtLastLf(lines.line());
        size_t start = 0, length = 0;
        if (findReference(line, isLeadByte, &start, &length) && !slots.append(line + start, length))
            return false;
    }
    return !lines.failed();
}

UINT countEntries(const PlaylistFile& playlist)
{
    switch (playlist.format) {
    case PlaylistFormatLines:
        return countLineList(playlist);
    case PlaylistFormatProfile:
        return countProfileList(playlist);
    case PlaylistFormatReferences:
        return countReferenceList(playlist);
    default:
        return 0;
    }
}

bool readEntries(const PlaylistFile& playlist, UINT count, EntrySlots& slots)
{
    switch (playlist.format) {
    case PlaylistFormatLines:
        return readLineList(playlist, slots);
    case PlaylistFormatProfile:
        return readProfileList(playlist, count, slots);
    case PlaylistFormatReferences:
        return readReferenceList(playlist, slots);
    default:
        return false;
    }
}

} // namespace

UINT MediaContext::isPlaylist(const char* path)
{
    LockScope hold(lock_);
    PlaylistFile playlist;
    UINT count = playlist.locate(path) ? countEntries(playlist) : 0;
    if (count) {
        playlistEntryCount_ = count;
        hasAudio_ = hasVideo_ = FALSE;
        kind_ = MediaKindPlayList;
    }
    return count;
}

BOOL MediaContext::readPlaylist(const char* path, UINT count)
{
    LockScope hold(lock_);
    PlaylistFile playlist;
    if (!playlist.locate(path) || !isPlaylist(path))
        return FALSE;
    EntrySlots slots;
    if (!slots.allocate(count) || !readEntries(playlist, count, slots))
        return FALSE;
    clearPlaylistEntries();
    playlistEntries_ = slots.release();
    playlistEntriesHeld_ = count;
    return TRUE;
}
