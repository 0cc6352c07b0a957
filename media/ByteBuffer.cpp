#include "ByteBuffer.h"

#include <stdlib.h>
#include <string.h>

ByteBuffer::ByteBuffer(const void* data, DWORD size)
{
    assign(data, size);
}

ByteBuffer::ByteBuffer(const ByteBuffer& other)
{
    LockScope scope(other.lock_);
    assign(other.data_, other.size_);
}

ByteBuffer::ByteBuffer(ByteBuffer&& other)
{
    LockScope scope(other.lock_);
    data_ = other.data_;
    size_ = other.size_;
    other.data_ = nullptr;
    other.size_ = 0;
}

ByteBuffer& ByteBuffer::operator=(const ByteBuffer& other)
{
    if (&other == this)
        return *this;
    // Copy out under the other's lock first, so that the two locks are
    // never held together.
    ByteBuffer copy(other);
    LockScope scope(lock_);
    replace(copy.data_, copy.size_);
    copy.data_ = nullptr;
    copy.size_ = 0;
    return *this;
}

ByteBuffer::~ByteBuffer()
{
    free(data_);
}

bool ByteBuffer::assign(const void* data, DWORD size)
{
    if (!data || size == 0)
        return false;
    BYTE* block = static_cast<BYTE*>(malloc(size));
    if (!block)
        return false;
    memcpy(block, data, size);
    LockScope scope(lock_);
    replace(block, size);
    return true;
}

BYTE* ByteBuffer::resizeZeroed(DWORD size)
{
    if (size == 0)
        return nullptr;
    BYTE* block = static_cast<BYTE*>(calloc(size, 1));
    if (!block)
        return nullptr;
    LockScope scope(lock_);
    replace(block, size);
    return block;
}

void ByteBuffer::replace(BYTE* block, DWORD size)
{
    free(data_);
    data_ = block;
    size_ = size;
}
