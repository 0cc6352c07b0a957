#include "PluginState.h"

#include <new>
#include <string.h>

#include "MediaContext.h"
#include "PluginSettings.h"

HMODULE PluginModule = nullptr;
char ModuleDirectory[MAX_PATH];
char FramePath[MAX_PATH];
char CacheImagePath[MAX_PATH];
CountedLock PictureLock;

namespace {

MediaContext* context = nullptr;

} // namespace

MediaContext* pluginContext() { return context; }

bool besidePlugin(const char* name, char* path)
{
    size_t directory = strlen(ModuleDirectory);
    size_t length = strlen(name);
    if (directory + length >= MAX_PATH)
        return false;
    memcpy(path, ModuleDirectory, directory);
    memcpy(path + directory, name, length + 1);
    return true;
}

bool attachPlugin(HMODULE module)
{
    PluginModule = module;
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return false;
    char* name = strrchr(path, '\\');
    if (!name)
        return false;
    name[1] = 0;
    strcpy(ModuleDirectory, path);
    if (!besidePlugin("PIXAMOR.AVI", FramePath) || !besidePlugin("PIXAMOR.CCH", CacheImagePath))
        return false;
    LoadPluginSettings();
    context = new (std::nothrow) MediaContext;
    if (!context)
        return false;
    context->setEnableDvd(pluginSettings.enableDvd);
    BuildExcludedMciDevices(*context);
    return true;
}

void detachPlugin()
{
    LockScope hold(PictureLock);
    delete context;
    context = nullptr;
}
