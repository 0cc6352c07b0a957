#pragma once
#include <windows.h>

#include "CountedLock.h"

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

    // The entry's address, resolved under lock into a process-wide cached
    // pointer. A missing entry stays null and is looked up again next time.
    template <typename Function>
    Function resolve(Function& cached, const char* name, CountedLock& lock)
    {
        LockScope scope(lock);
        if (!cached)
            cached = reinterpret_cast<Function>(entry(name));
        return cached;
    }

private:
    const char* name_;
    HMODULE handle_ = nullptr;
};
