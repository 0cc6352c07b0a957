#include "DynamicLibrary.h"

bool DynamicLibrary::load()
{
    if (!handle_)
        handle_ = LoadLibraryA(name_);
    return handle_ != nullptr;
}

void DynamicLibrary::free()
{
    if (handle_) {
        FreeLibrary(handle_);
        handle_ = nullptr;
    }
}

FARPROC DynamicLibrary::entry(const char* name)
{
    if (!name || !load())
        return nullptr;
    return GetProcAddress(handle_, name);
}
