#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// The player reads its real key "Software\Malvoren\Player" of the current
// user. A test that changes it takes a copy of the whole tree first (values
// of every type and every subkey) and gets it back exactly at the end,
// including the key being absent. Another key (the plug-in's) is backed up
// the same way when named.
class PlayerKeyBackup {
public:
    explicit PlayerKeyBackup(const char* keyPath = nullptr);
    ~PlayerKeyBackup();
    PlayerKeyBackup(const PlayerKeyBackup&) = delete;
    PlayerKeyBackup& operator=(const PlayerKeyBackup&) = delete;

    // Removes the key with everything below it: the player then runs as on
    // a fresh user.
    bool clear() const;
    // subkey "" is the key itself; a missing subkey is created.
    bool setNumber(const char* name, DWORD value, const char* subkey = "") const;
    bool setText(const char* name, const char* text, const char* subkey = "") const;
    bool setBinary(const char* name, const void* data, DWORD size, const char* subkey = "") const;

    struct Tree;

private:
    std::string key_;
    std::unique_ptr<Tree> saved_;  // null when the key did not exist
};
