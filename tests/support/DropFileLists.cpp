#include "DropFileLists.h"

#include <shlobj.h>

#include <cstring>

namespace {

template <typename Text>
HGLOBAL makeList(const std::vector<Text>& names, BOOL wide)
{
    using Char = typename Text::value_type;
    size_t textSize = 1;
    for (const Text& name : names)
        textSize += name.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + textSize * sizeof(Char));
    if (!block)
        return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = wide;
    Char* text = reinterpret_cast<Char*>(header + 1);
    for (const Text& name : names) {
        memcpy(text, name.c_str(), (name.size() + 1) * sizeof(Char));
        text += name.size() + 1;
    }
    GlobalUnlock(block);
    return block;
}

bool putOnClipboard(HWND owner, HGLOBAL block)
{
    if (!block || !OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    bool placed = SetClipboardData(CF_HDROP, block) != nullptr;
    CloseClipboard();
    if (!placed)
        GlobalFree(block);
    return placed;
}

} // namespace

HGLOBAL makeDropFileList(const std::vector<std::string>& names) { return makeList(names, FALSE); }

HGLOBAL makeWideDropFileList(const std::vector<std::wstring>& names) { return makeList(names, TRUE); }

bool putFileListOnClipboard(HWND owner, const std::vector<std::string>& names)
{
    return putOnClipboard(owner, makeDropFileList(names));
}

bool putWideFileListOnClipboard(HWND owner, const std::vector<std::wstring>& names)
{
    return putOnClipboard(owner, makeWideDropFileList(names));
}

void emptyClipboard(HWND owner)
{
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        CloseClipboard();
    }
}
