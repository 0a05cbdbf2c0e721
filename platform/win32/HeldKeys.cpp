#include "platform/win32/HeldKeys.h"

#include <algorithm>

#include "platform/LetterCase.h"

namespace qm {

namespace {

// "Apps\\Sound\" and "apps\sound" name the same key.
std::string KeyOfPath(const std::string& path) {
    std::string key;
    for (char c : FoldPath(path)) {
        if (c == '\\' && (key.empty() || key.back() == '\\')) continue;
        key += c;
    }
    if (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
}

bool IsSameOrBelow(const std::string& key, const std::string& above) {
    if (above.empty()) return true;
    return key.compare(0, above.size(), above) == 0 && (key.size() == above.size() || key[above.size()] == '\\');
}

}  // namespace

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

HeldKeys::~HeldKeys() {
    for (const Held& held : m_held) RegCloseKey(held.handle);
}

HKEY HeldKeys::Get(RegistryRoot root, const std::string& path, Use use) {
    const std::string key = KeyOfPath(path);
    auto found = std::find_if(m_held.begin(), m_held.end(), [&](const Held& held) {
        return held.root == root && (held.uses & use) && held.key == key;
    });
    if (found != m_held.end()) {
        std::rotate(m_held.begin(), found, found + 1);
        return m_held.front().handle;
    }
    HKEY handle = nullptr;
    if (RegOpenKeyExA(RootKey(root), path.c_str(), 0, use == kRead ? KEY_READ : KEY_SET_VALUE, &handle) !=
        ERROR_SUCCESS)
        return nullptr;
    Hold(root, path, handle, use);
    return handle;
}

void HeldKeys::Hold(RegistryRoot root, const std::string& path, HKEY handle, unsigned uses) {
    if (m_held.size() == kCapacity) {
        RegCloseKey(m_held.back().handle);
        m_held.pop_back();
    }
    m_held.insert(m_held.begin(), Held{root, KeyOfPath(path), handle, uses});
}

void HeldKeys::Drop(RegistryRoot root, const std::string& path) {
    const std::string key = KeyOfPath(path);
    auto gone = std::remove_if(m_held.begin(), m_held.end(), [&](const Held& held) {
        if (held.root != root || !IsSameOrBelow(held.key, key)) return false;
        RegCloseKey(held.handle);
        return true;
    });
    m_held.erase(gone, m_held.end());
}

}  // namespace qm
