#pragma once
#include <windows.h>

// A file opened for a content test: read sharing, existing files only, the
// sequential-scan hint; closed when the object goes. Reads answer true only
// when every byte asked for arrived.
class RecognitionFile {
public:
    explicit RecognitionFile(const char* path);
    // A name that the code page may not hold.
    explicit RecognitionFile(const wchar_t* path);
    ~RecognitionFile();
    RecognitionFile(const RecognitionFile&) = delete;
    RecognitionFile& operator=(const RecognitionFile&) = delete;

    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool size(ULONGLONG* size) const;
    // Creation and last-write times.
    bool times(FILETIME* created, FILETIME* lastWritten) const;
    bool readExactAt(ULONGLONG offset, void* buffer, DWORD count);
    // Reads up to count bytes from offset; 0 at the end or on failure.
    DWORD readSomeAt(ULONGLONG offset, void* buffer, DWORD count);
    void close();

private:
    // Moves only when the file is not there already; the move must land exactly.
    bool moveTo(ULONGLONG offset);
    bool readAt(ULONGLONG offset, void* buffer, DWORD count, DWORD* read);

    HANDLE handle_;
    ULONGLONG position_ = 0;
};
