#include "PlaylistEntries.h"

#include <new>

#include "MediaContext.h"
#include "PlayerCore.h"

char (*readPlaylistEntries(const char* path, UINT* count))[MAX_PATH]
{
    *count = 0;
    if (!mediaContext)
        return nullptr;
    // The context's entries may be replaced by another reader once the lock
    // is left, so they are copied out under it.
    LockScope hold(mediaContext->lock());
    UINT found = mediaContext->isPlaylist(path);
    if (!found)
        return nullptr;
    bool read = mediaContext->readPlaylist(path, found);
    UINT n = read ? found : 1;
    char(*names)[MAX_PATH] = new (std::nothrow) char[n][MAX_PATH]();
    if (!names)
        return nullptr;
    for (UINT i = 0; read && i < n; ++i) {
        const char* entry = mediaContext->playlistEntry(i);
        if (entry)
            lstrcpynA(names[i], entry, MAX_PATH);
    }
    *count = n;
    return names;
}
