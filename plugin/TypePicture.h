#pragma once
#include <windows.h>

// A picture as the plug-in hands it out: the bitmap header with its colour
// table, and the pixel rows. Both are fixed blocks, so that a viewer may
// lock them with GlobalLock or LocalLock or use the handle as the address,
// and free them with GlobalFree or LocalFree. biSizeImage holds the size of
// the pixel block.
struct Picture {
    HGLOBAL info = nullptr;
    HGLOBAL bits = nullptr;  // stays null when the rows were not asked for
};

struct DibLayout;

// The layout that the picture's header gives, when its header block holds
// the header and colour table and its pixel block (if any) the rows.
bool readPictureLayout(const Picture& picture, DibLayout* layout);

// Frees both blocks of a picture that nobody took.
class PictureHolder {
public:
    PictureHolder() = default;
    ~PictureHolder() { clear(); }
    PictureHolder(const PictureHolder&) = delete;
    PictureHolder& operator=(const PictureHolder&) = delete;

    Picture& get() { return picture_; }
    void clear();
    Picture release();
    // Hands the blocks to the caller's outputs (bits may be null: the rows are
    // then freed).
    void handOver(HGLOBAL* info, HGLOBAL* bits);

private:
    Picture picture_;
};

// What classification names: the kind, the stream kind and the default
// bitmap file. The texts are constants.
struct MediaClass {
    const char* kind;
    const char* stream;
    const char* bitmap;
};

// Reads a BMP file; with wantBits false only the header block. On failure
// the picture stays empty.
bool LoadBitmapFile(const char* path, Picture* picture, bool wantBits);

// The kind's bitmap file as the "Bitmap" key names it (the default beside
// the plug-in is written there when none is named), else the built-in
// picture.
bool LoadTypePicture(const MediaClass& media, Picture* picture, bool wantBits);
