#pragma once
#include <windows.h>

#include "CountedLock.h"

class MediaContext;

// What the plug-in keeps from load to unload: the paths beside its own
// file, the one recognition context and the lock of picture building.
extern HMODULE PluginModule;
extern char ModuleDirectory[MAX_PATH];  // ends with a backslash
extern char FramePath[MAX_PATH];        // scratch clip of frame capture
extern char CacheImagePath[MAX_PATH];   // the cache's picture
extern CountedLock PictureLock;

// Null outside attach and detach.
MediaContext* pluginContext();

// Builds the paths, loads the settings and creates the context; false when
// the module's path does not fit or memory runs out.
bool attachPlugin(HMODULE module);
void detachPlugin();

// ModuleDirectory followed by name; false when it does not fit.
bool besidePlugin(const char* name, char* path);
