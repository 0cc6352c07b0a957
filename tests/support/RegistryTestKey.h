#pragma once
#include <windows.h>

#include <string>

// A registry key of its own for one test, under "Software\PlayerTests" of
// the current user, removed with everything below it at the end of the test.
class RegistryTestKey {
public:
    RegistryTestKey();
    ~RegistryTestKey();
    RegistryTestKey(const RegistryTestKey&) = delete;
    RegistryTestKey& operator=(const RegistryTestKey&) = delete;

    const char* path() const { return path_.c_str(); }
    // The full path of a subkey ("" for the key itself).
    std::string below(const char* subkey) const;

    // Direct registry access, to set up and check values behind the store's back.
    bool writeRaw(const char* subkey, const char* name, DWORD type, const void* data, DWORD size) const;
    // The stored type, REG_NONE when missing; data receives at most size bytes.
    DWORD readRaw(const char* subkey, const char* name, void* data = nullptr, DWORD size = 0) const;
    bool keyExists(const char* subkey) const;

private:
    std::string path_;
};

// Removes a key and all its subkeys; true when it is gone.
bool deleteKeyTree(HKEY root, const char* path);
