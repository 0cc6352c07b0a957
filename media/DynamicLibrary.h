#pragma once
#include <windows.h>

// A library loaded by name on first use. It carries no lock: the bindings
// that use it supply their own.
class DynamicLibrary {
public:
    explicit DynamicLibrary(const char* name) : name_(name) {}
    ~DynamicLibrary() { free(); }
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // A failed load is tried again at the next call.
    bool load();
    void free();
    // Null when name is null or the library does not load.
    FARPROC entry(const char* name);

    HMODULE handle() const { return handle_; }
    const char* name() const { return name_; }

private:
    const char* name_;
    HMODULE handle_ = nullptr;
};
