#include <new>

#include "AnsiName.h"
#include "PlayQueue.h"
#include "PlayerCore.h"

namespace {

// Holds dropBusy set for the life of a scope, under queueLock and dropLock.
class DropBusyScope {
public:
    DropBusyScope() : queue_(queueLock), drop_(dropLock) { dropBusy = 1; }
    ~DropBusyScope() { dropBusy = 0; }

private:
    LockScope queue_;
    LockScope drop_;
};

// The names of a CF_HDROP list, 260 bytes each, read in UTF-16: a name that
// the code page cannot hold comes in as its file's short name. A name that
// has no such form, or is too long, is left out rather than cut into another
// file's name.
class DroppedNames {
public:
    explicit DroppedNames(HDROP drop)
    {
        UINT total = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        names_ = new (std::nothrow) char[total ? total : 1][MAX_PATH];
        pointers_ = new (std::nothrow) const char*[total ? total : 1];
        if (!names_ || !pointers_)
            return;
        for (UINT i = 0; i < total; ++i) {
            if (!takeName(drop, i))
                return;
        }
        complete_ = true;
    }
    ~DroppedNames()
    {
        delete[] names_;
        delete[] pointers_;
    }
    DroppedNames(const DroppedNames&) = delete;
    DroppedNames& operator=(const DroppedNames&) = delete;

    BOOL replace(BOOL add) const { return complete_ && replaceQueue(pointers_, count_, add); }

private:
    // False when memory ran out.
    bool takeName(HDROP drop, UINT index)
    {
        UINT length = DragQueryFileW(drop, index, nullptr, 0);
        wchar_t* wide = new (std::nothrow) wchar_t[length + 1];
        if (!wide)
            return false;
        if (DragQueryFileW(drop, index, wide, length + 1) == length && openableAnsiName(wide, names_[count_])) {
            pointers_[count_] = names_[count_];
            ++count_;
        }
        delete[] wide;
        return true;
    }

    char (*names_)[MAX_PATH] = nullptr;
    const char** pointers_ = nullptr;
    UINT count_ = 0;
    bool complete_ = false;
};

} // namespace

BOOL replaceQueue(const char* const* names, UINT count, BOOL add)
{
    DropBusyScope busy;
    char** words = copyWords(names, count);
    if (!words)
        return FALSE;
    if (!playQueue.install(words, count, add)) {
        freeWords(words, count);
        return FALSE;
    }
    if (!add) {
        playQueue.setCancel(true);
        playQueue.setPosition(-1);
        SendMessageA(mainWindow, WM_COMMAND, CommandStop, 0);
    }
    return TRUE;
}

BOOL replaceQueueFromDrop(HDROP drop, BOOL add)
{
    DroppedNames names(drop);
    return names.replace(add);
}

BOOL clipboardHasFiles() { return IsClipboardFormatAvailable(CF_HDROP); }

BOOL playClipboardFiles(HWND owner, BOOL add)
{
    if (!OpenClipboard(owner))
        return FALSE;
    // The names are copied before the clipboard is closed; the queue is
    // changed after, so that stopping the current file never holds it open.
    HDROP drop = (HDROP)GetClipboardData(CF_HDROP);
    DroppedNames* names = drop ? new (std::nothrow) DroppedNames(drop) : nullptr;
    CloseClipboard();
    BOOL result = names && names->replace(add);
    delete names;
    return result;
}
