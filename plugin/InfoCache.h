#pragma once
#include <windows.h>

#include <string.h>

#include "TypePicture.h"

// The answer and the picture for the most recent file, in two one-entry
// sections under "Cache": "Openable" for files on disk, "Unopenable" for
// archive members. The picture itself is the BMP file CacheImagePath, whose
// four values stand in one section at a time.

class RecognitionFile;

// A file's size and times as the cache compares them.
struct FileStamp {
    DWORD size;
    FILETIME created;
    FILETIME lastWritten;
};
// False when the file is not open.
bool stampOf(const RecognitionFile& file, FileStamp* stamp);
// False when the path does not open as a file on a disk.
bool stampOfPath(const char* path, FileStamp* stamp);

// One section's key, opened once for all the values that one question reads
// and writes; IsSupported and picture building keep it from the lookup to the
// store after a miss.
class CacheSection {
public:
    // Creates the key when it is missing.
    explicit CacheSection(bool openable);
    ~CacheSection();
    CacheSection(const CacheSection&) = delete;
    CacheSection& operator=(const CacheSection&) = delete;

    // Found when the section names this file (exact case) and the file still
    // has the stored size and times; the verdict is then filled. stamp, when
    // given, is the file's as the caller read it; else the file is opened.
    bool LookupVerdict(const char* name, const FileStamp* stamp, DWORD* verdict) const;
    // Also clears the section's picture values: they described another file.
    // A null stamp stands for a name that did not open: no size, zero times.
    void StoreVerdict(const char* name, DWORD verdict, const FileStamp* stamp) const;
    // The cached picture's path (MAX_PATH bytes) when that file is unchanged.
    bool LookupPicture(char* path) const;
    void StorePictureEntry(const char* path, const FileStamp& stamp) const;
    void clearPicture() const;
    void text(const char* name, const char* value) const { set(name, REG_SZ, value, (DWORD)strlen(value) + 1); }
    void remove(const char* name) const;

private:
    bool read(const char* name, void* data, DWORD size) const;
    // A REG_SZ of at most MAX_PATH bytes with its terminator.
    bool readText(const char* name, char* text) const;
    // Whether the stamp is the one stored under the three names.
    bool matches(const FileStamp& now, const char* size, const char* created, const char* lastWritten) const;
    void number(const char* name, DWORD value) const { set(name, REG_DWORD, &value, sizeof value); }
    void time(const char* name, const FILETIME& value) const { set(name, REG_BINARY, &value, sizeof value); }
    void set(const char* name, DWORD type, const void* data, DWORD size) const;

    HKEY key_ = nullptr;
};

// Writes CacheImagePath from the picture and records its path, size and
// times for the section (clearing the other's); when the file is not
// written the section's picture values are cleared instead. name and stamp
// are the file the picture was made of (null for a memory image): when the
// section no longer names that file, nothing is stored.
void StorePicture(const Picture& picture, bool openable, const char* name, const FileStamp* stamp);
void ClearPicture(bool openable);
