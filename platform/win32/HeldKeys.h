#pragma once
// The registry keys the Win32 backend keeps open between calls. Every open and close is a
// round trip to the registry's owner (under Wine, a request to the wineserver), and the
// program works key by key: it lists an application key's events one index at a time and
// creates a key only to set its value in the next call. Holding the few keys used last
// saves those trips.
//
// A held handle can go stale: another program, or another backend object, may delete the
// key and create it again. Windows then fails every call on the old handle with
// ERROR_KEY_DELETED, so a caller that sees that error drops the handle and opens the key
// afresh (see Win32Registry). Not thread-safe: Win32Registry locks around every use.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/Registry.h"

namespace qm {

class HeldKeys {
public:
    enum Use : unsigned { kRead = 1, kWrite = 2 };

    HeldKeys() = default;
    ~HeldKeys();
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

    // The held handle of the key that allows `use`, opened now (and held) when there is
    // none; null when the key cannot be opened so.
    HKEY Get(RegistryRoot root, const std::string& path, Use use);
    // Holds a handle the caller opened (a created key allows reading and writing); the
    // handle is closed when it is dropped.
    void Hold(RegistryRoot root, const std::string& path, HKEY handle, unsigned uses);
    // Closes the key's handle, and those of keys below it, if held.
    void Drop(RegistryRoot root, const std::string& path);

private:
    struct Held {
        RegistryRoot root;
        std::string key;  // the path as the registry compares it: letter case and extra backslashes ignored
        HKEY handle;
        unsigned uses;
    };
    static constexpr std::size_t kCapacity = 8;

    std::vector<Held> m_held;  // the most recently used first
};

// The root's predefined handle.
HKEY RootKey(RegistryRoot root);

}  // namespace qm
