#pragma once
#include <windows.h>

#include "CountedLock.h"

// A heap byte block with its own lock. Copies copy the bytes and get a lock of
// their own.
class ByteBuffer {
public:
    ByteBuffer() = default;
    // A null or empty source gives an empty buffer.
    ByteBuffer(const void* data, DWORD size);
    ByteBuffer(const ByteBuffer& other);
    ByteBuffer(ByteBuffer&& other);
    ByteBuffer& operator=(const ByteBuffer& other);
    ~ByteBuffer();

    // False, and the buffer unchanged, when data is null, size is 0 or memory
    // runs out.
    bool assign(const void* data, DWORD size);
    // Replaces the block by size zero bytes; null (unchanged) when size is 0
    // or memory runs out.
    BYTE* resizeZeroed(DWORD size);

    DWORD size() const { return size_; }
    const BYTE* data() const { return data_; }
    BYTE* data() { return data_; }

private:
    void replace(BYTE* block, DWORD size);

    mutable CountedLock lock_;
    DWORD size_ = 0;
    BYTE* data_ = nullptr;
};
