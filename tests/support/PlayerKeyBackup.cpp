#include "PlayerKeyBackup.h"

#include "RegistryTestKey.h"

namespace {

const char PlayerKey[] = "Software\\Malvoren\\Player";

std::string pathOf(const std::string& key, const char* subkey)
{
    return subkey && *subkey ? key + "\\" + subkey : key;
}

bool writeValue(const std::string& path, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

} // namespace

struct PlayerKeyBackup::Tree {
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<Value> values;
    std::vector<std::pair<std::string, std::unique_ptr<Tree>>> subkeys;

    static std::unique_ptr<Tree> read(const std::string& path);
    void write(const std::string& path) const;
};

std::unique_ptr<PlayerKeyBackup::Tree> PlayerKeyBackup::Tree::read(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    std::unique_ptr<Tree> tree(new Tree);
    char name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name, type = REG_NONE, size = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        Value value = {name, type, std::vector<BYTE>(size)};
        DWORD got = size;
        if (RegQueryValueExA(key, name, nullptr, &type, size ? value.data.data() : nullptr, &got) ==
            ERROR_SUCCESS) {
            value.data.resize(got);
            tree->values.push_back(value);
        }
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        std::unique_ptr<Tree> child = read(path + "\\" + name);
        if (child)
            tree->subkeys.emplace_back(name, std::move(child));
    }
    RegCloseKey(key);
    return tree;
}

void PlayerKeyBackup::Tree::write(const std::string& path) const
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegCloseKey(key);
    for (const Value& v : values)
        writeValue(path, v.name.c_str(), v.type, v.data.data(), (DWORD)v.data.size());
    for (const auto& child : subkeys)
        child.second->write(path + "\\" + child.first);
}

PlayerKeyBackup::PlayerKeyBackup(const char* keyPath) : key_(keyPath ? keyPath : PlayerKey), saved_(Tree::read(key_)) {}

PlayerKeyBackup::~PlayerKeyBackup()
{
    clear();
    if (saved_)
        saved_->write(key_);
}

bool PlayerKeyBackup::clear() const { return deleteKeyTree(HKEY_CURRENT_USER, key_.c_str()); }

bool PlayerKeyBackup::setNumber(const char* name, DWORD value, const char* subkey) const
{
    return writeValue(pathOf(key_, subkey), name, REG_DWORD, &value, sizeof value);
}

bool PlayerKeyBackup::setText(const char* name, const char* text, const char* subkey) const
{
    return writeValue(pathOf(key_, subkey), name, REG_SZ, text, (DWORD)lstrlenA(text) + 1);
}

bool PlayerKeyBackup::setBinary(const char* name, const void* data, DWORD size, const char* subkey) const
{
    return writeValue(pathOf(key_, subkey), name, REG_BINARY, data, size);
}
