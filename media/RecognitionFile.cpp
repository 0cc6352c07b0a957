#include "RecognitionFile.h"

namespace {

// Device names ("NUL", "CON", "COM1.mp3") open devices whose reads may never
// return: only files on a disk are tested.
HANDLE diskFileOnly(HANDLE handle)
{
    if (handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

} // namespace

RecognitionFile::RecognitionFile(const char* path)
    : handle_(diskFileOnly(path ? CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr)
                                : INVALID_HANDLE_VALUE))
{
}

RecognitionFile::RecognitionFile(const wchar_t* path)
    : handle_(diskFileOnly(path ? CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr)
                                : INVALID_HANDLE_VALUE))
{
}

RecognitionFile::~RecognitionFile() { close(); }

void RecognitionFile::close()
{
    if (isOpen())
        CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

bool RecognitionFile::size(ULONGLONG* size) const
{
    LARGE_INTEGER value;
    if (!isOpen() || !GetFileSizeEx(handle_, &value))
        return false;
    *size = (ULONGLONG)value.QuadPart;
    return true;
}

bool RecognitionFile::times(FILETIME* created, FILETIME* lastWritten) const
{
    return isOpen() && GetFileTime(handle_, created, nullptr, lastWritten);
}

bool RecognitionFile::moveTo(ULONGLONG offset)
{
    if (!isOpen())
        return false;
    if (offset == position_)
        return true;
    LARGE_INTEGER target, landed;
    target.QuadPart = (LONGLONG)offset;
    if (target.QuadPart < 0 || !SetFilePointerEx(handle_, target, &landed, FILE_BEGIN) ||
        landed.QuadPart != target.QuadPart)
        return false;
    position_ = offset;
    return true;
}

bool RecognitionFile::readAt(ULONGLONG offset, void* buffer, DWORD count, DWORD* read)
{
    *read = 0;
    if (!moveTo(offset) || !ReadFile(handle_, buffer, count, read, nullptr))
        return false;
    position_ += *read;
    return true;
}

DWORD RecognitionFile::readSomeAt(ULONGLONG offset, void* buffer, DWORD count)
{
    DWORD read;
    return readAt(offset, buffer, count, &read) ? read : 0;
}

bool RecognitionFile::readExactAt(ULONGLONG offset, void* buffer, DWORD count)
{
    DWORD read;
    return readAt(offset, buffer, count, &read) && read == count;
}
