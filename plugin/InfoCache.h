#pragma once
#include <windows.h>

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

// Found when the section names this file (exact case) and the file still
// has the stored size and times; the verdict is then filled.
bool LookupVerdict(const char* name, bool openable, DWORD* verdict);
// Also clears the section's picture values: they described another file.
// stamp, when given, is the file's as the caller read it; else the file is
// opened for it.
void StoreVerdict(const char* name, DWORD verdict, bool openable, const FileStamp* stamp = nullptr);
// The cached picture's path (MAX_PATH bytes) when the file is unchanged.
bool LookupPicture(bool openable, char* path);
// Writes CacheImagePath from the picture and claims "Image" for the section.
void StorePicture(const Picture& picture, bool openable);
// Records the picture file's size and times, or with null (or a file that
// does not open) clears them.
void StorePictureEntry(const char* path, bool openable);
