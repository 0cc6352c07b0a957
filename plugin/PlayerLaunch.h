#pragma once
#include <windows.h>

class MediaContext;

// Starts PLAYER.EXE from the plug-in's directory on what the viewer just
// received a picture of: a file name (flag bit 0 clear) or a memory image of
// len bytes, written to a temporary file that the player deletes. Every
// failure starts nothing.
void LaunchPlayer(MediaContext& context, const char* buf, LONG_PTR len, UINT flag);

// True when a running player reports this file as the one it plays.
bool IsPlayingNow(const char* name);

// The engine words of a command line.
extern const char* const MciWords;
extern const char* const DirectShowWords;
extern const char* const DirectMusicWords;

// The player's command line for one file, from the settings; false when it
// does not fit in size bytes.
bool BuildPlayCommand(char* command, size_t size, const char* engineWords, bool deleteAfter, const char* file);

// A new empty file named directory + prefix + number + extension, where
// directory is TMP when that names a folder, else the plug-in's own; path
// holds MAX_PATH bytes.
bool MakeTempName(const char* prefix, const char* extension, char* path);

// Thread procedure of the configuration dialog: shows the player's own
// settings, waits until the player ends, then enables the dialog again.
DWORD WINAPI ShowPlayerSettings(LPVOID dialog);
