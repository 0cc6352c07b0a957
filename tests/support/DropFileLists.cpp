#include "DropFileLists.h"

#include <shlobj.h>

#include <cstring>

HGLOBAL makeDropFileList(const std::vector<std::string>& names)
{
    size_t textSize = 1;
    for (const std::string& name : names)
        textSize += name.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + textSize);
    if (!block)
        return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    char* text = reinterpret_cast<char*>(header + 1);
    for (const std::string& name : names) {
        memcpy(text, name.c_str(), name.size() + 1);
        text += name.size() + 1;
    }
    GlobalUnlock(block);
    return block;
}

bool putFileListOnClipboard(HWND owner, const std::vector<std::string>& names)
{
    HGLOBAL block = makeDropFileList(names);
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

void emptyClipboard(HWND owner)
{
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        CloseClipboard();
    }
}
