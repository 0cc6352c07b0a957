#pragma once

#include <windows.h>

// A fixed global block freed at the end of the scope unless handed on.
class GlobalBlock {
public:
    explicit GlobalBlock(SIZE_T size) : block_(GlobalAlloc(GMEM_FIXED, size ? size : 1)) {}
    ~GlobalBlock()
    {
        if (block_)
            GlobalFree(block_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    BYTE* bytes() const { return static_cast<BYTE*>(block_); }
    HGLOBAL detach()
    {
        HGLOBAL block = block_;
        block_ = nullptr;
        return block;
    }

private:
    HGLOBAL block_;
};
