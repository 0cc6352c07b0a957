#include "RegistryTestKey.h"

RegistryTestKey::RegistryTestKey()
{
    static LONG count = 0;
    path_ = "Software\\PlayerTests\\" + std::to_string(GetCurrentProcessId()) + "." +
            std::to_string(InterlockedIncrement(&count));
    deleteKeyTree(HKEY_CURRENT_USER, path_.c_str());
}

RegistryTestKey::~RegistryTestKey()
{
    deleteKeyTree(HKEY_CURRENT_USER, path_.c_str());
    // Fails while other tests still have keys there.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\PlayerTests");
}

std::string RegistryTestKey::below(const char* subkey) const
{
    return subkey && *subkey ? path_ + "\\" + subkey : path_;
}

bool RegistryTestKey::writeRaw(const char* subkey, const char* name, DWORD type, const void* data,
                               DWORD size) const
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, below(subkey).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

DWORD RegistryTestKey::readRaw(const char* subkey, const char* name, void* data, DWORD size) const
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, below(subkey).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return REG_NONE;
    DWORD type = REG_NONE;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, static_cast<BYTE*>(data), data ? &size : nullptr);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? type : REG_NONE;
}

bool RegistryTestKey::keyExists(const char* subkey) const
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, below(subkey).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool deleteKeyTree(HKEY root, const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        char name[256];
        DWORD length = sizeof name;
        // Always the first subkey: each is gone before the next look.
        while (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            std::string child = std::string(path) + "\\" + name;
            if (!deleteKeyTree(root, child.c_str()))
                break;
            length = sizeof name;
        }
        RegCloseKey(key);
    }
    LONG status = RegDeleteKeyA(root, path);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
