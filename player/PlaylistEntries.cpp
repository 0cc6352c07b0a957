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
    // A playlist whose entries cannot be read is played as one media file.
    UINT n = mediaContext->isPlaylist(path);
    if (!n || !mediaContext->readPlaylist(path, n))
        return nullptr;
    char(*names)[MAX_PATH] = new (std::nothrow) char[n][MAX_PATH]();
    if (!names)
        return nullptr;
    for (UINT i = 0; i < n; ++i) {
        const char* entry = mediaContext->playlistEntry(i);
        if (entry)
            lstrcpynA(names[i], entry, MAX_PATH);
    }
    *count = n;
    return names;
}
