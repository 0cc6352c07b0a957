#include "TypePicture.h"

#include <string.h>

#include "BmpHeader.h"
#include "PluginSettings.h"
#include "PluginState.h"
#include "RecognitionFile.h"
#include "resource.h"

namespace {

HGLOBAL allocBlock(DWORD size) { return GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size); }

// The header block: the 40-byte header (with its own size set to 40 and
// biSizeImage to the pixel block's size) and the colour table or masks.
HGLOBAL makeInfoBlock(const BYTE* header, const DibLayout& layout)
{
    HGLOBAL block = allocBlock(layout.infoBytes());
    if (!block)
        return nullptr;
    BITMAPINFOHEADER* info = (BITMAPINFOHEADER*)block;
    memcpy(info, header, DibHeaderSize);
    info->biSize = DibHeaderSize;
    info->biSizeImage = layout.pixelBytes;
    return block;
}

// The built-in bitmap as its resource holds it: a packed header, colour
// table and rows.
bool loadBuiltIn(Picture* picture, bool wantBits)
{
    HRSRC found = FindResourceA(PluginModule, MAKEINTRESOURCEA(IDB_BUILTIN), (LPCSTR)RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(PluginModule, found) : nullptr;
    const BYTE* packed = loaded ? (const BYTE*)LockResource(loaded) : nullptr;
    DWORD size = found ? SizeofResource(PluginModule, found) : 0;
    DibLayout layout;
    if (!packed || !readDibLayout(packed, size, &layout) ||
        (uint64_t)layout.infoBytes() + layout.pixelBytes > size)
        return false;
    picture->info = makeInfoBlock(packed, layout);
    if (!picture->info)
        return false;
    memcpy((BYTE*)picture->info + DibHeaderSize, packed + DibHeaderSize, layout.colourTableBytes);
    if (!wantBits)
        return true;
    picture->bits = allocBlock(layout.pixelBytes);
    if (!picture->bits)
        return false;
    memcpy(picture->bits, packed + layout.infoBytes(), layout.pixelBytes);
    return true;
}

} // namespace

bool readPictureLayout(const Picture& picture, DibLayout* layout)
{
    SIZE_T infoSize = picture.info ? GlobalSize(picture.info) : 0;
    return readDibLayout((const BYTE*)picture.info, infoSize, layout) && infoSize >= layout->infoBytes() &&
           (!picture.bits || GlobalSize(picture.bits) >= layout->pixelBytes);
}

void PictureHolder::clear()
{
    if (picture_.info)
        GlobalFree(picture_.info);
    if (picture_.bits)
        GlobalFree(picture_.bits);
    picture_ = Picture();
}

Picture PictureHolder::release()
{
    Picture taken = picture_;
    picture_ = Picture();
    return taken;
}

void PictureHolder::handOver(HGLOBAL* info, HGLOBAL* bits)
{
    *info = picture_.info;
    picture_.info = nullptr;
    if (bits) {
        *bits = picture_.bits;
        picture_.bits = nullptr;
    }
    clear();
}

bool LoadBitmapFile(const char* path, Picture* picture, bool wantBits)
{
    PictureHolder holder;
    RecognitionFile file(path);
    BYTE head[BmpFileHeaderSize + DibHeaderSize];
    ULONGLONG fileSize;
    BmpFileLayout layout;
    if (!path || !file.size(&fileSize) || !file.readExactAt(0, head, sizeof head) ||
        !readBmpFileLayout(head, sizeof head, fileSize, &layout))
        return false;
    Picture& loaded = holder.get();
    loaded.info = makeInfoBlock(head + BmpFileHeaderSize, layout.dib);
    if (!loaded.info ||
        !file.readExactAt(layout.colourTableOffset, (BYTE*)loaded.info + DibHeaderSize, layout.dib.colourTableBytes))
        return false;
    if (wantBits) {
        loaded.bits = allocBlock(layout.dib.pixelBytes);
        if (!loaded.bits || !file.readExactAt(layout.pixelOffset, loaded.bits, layout.dib.pixelBytes))
            return false;
    }
    *picture = holder.release();
    return true;
}

bool LoadTypePicture(const MediaClass& media, Picture* picture, bool wantBits)
{
    HeapText path = bitmapStore.readText(media.stream, "", media.kind);
    char beside[MAX_PATH];
    if (!path || !*path) {
        if (!besidePlugin(media.bitmap, beside))
            return false;
        bitmapStore.writeText(beside, media.stream, media.kind);
    }
    const char* file = path && *path ? path.get() : beside;
    if (LoadBitmapFile(file, picture, wantBits))
        return true;
    PictureHolder holder;
    if (!loadBuiltIn(&holder.get(), wantBits))
        return false;
    *picture = holder.release();
    return true;
}
