#pragma once
// An in-memory registry that behaves like Windows where the program relies on it: key
// and value names compared ignoring case, the default value listed first, deleting a key
// deletes its values, and a key with subkeys cannot be deleted (Windows NT). Keys can be
// protected as a standard user finds the machine-wide ones on Windows NT: they open and read
// as before, an existing one even "creates" (RegCreateKey opens it with read access alone),
// but nothing in them or below them can be set, deleted or created.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace qm {

class FakeRegistry : public IRegistry {
public:
    FakeRegistry();
    ~FakeRegistry() override;

    bool KeyExists(RegistryRoot root, const std::string& path) override;
    bool EnumValue(RegistryRoot root, const std::string& path, unsigned index,
                   RegistryValue& out) override;
    bool EnumSubkey(RegistryRoot root, const std::string& path, unsigned index,
                    std::string& name) override;
    bool DeleteKey(RegistryRoot root, const std::string& path) override;
    bool CreateKey(RegistryRoot root, const std::string& path) override;
    bool ReadValue(RegistryRoot root, const std::string& path, const std::string& name,
                   std::string& data) override;
    bool SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                  const std::string& text) override;
    bool KeyWritable(RegistryRoot root, const std::string& path) override;
    bool Contents(RegistryRoot root, const std::string& path, KeyContents& out) override;
    bool DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override;

    // Protects the key at `path` (empty: the whole root) and everything below it.
    void Protect(RegistryRoot root, const std::string& path);

    // Stores raw bytes (for values that are not plain text); set-up, so never refused.
    bool SetRawValue(RegistryRoot root, const std::string& path, const std::string& name,
                     const std::string& bytes);

private:
    struct Key;
    Key* Find(RegistryRoot root, std::string_view path, bool create);
    Key* Walk(RegistryRoot root, std::string_view path, bool create);
    bool Protected(RegistryRoot root, const std::string& path) const;
    std::vector<std::pair<RegistryRoot, std::string>> m_protected;  // folded paths, without a final backslash

    // The keys found last, by the path exactly as asked: the program asks for the same few
    // keys again and again (its counters, on every load). Deleting any key forgets them all.
    struct Remembered {
        RegistryRoot root = RegistryRoot::LocalMachine;
        std::string path;
        Key* key = nullptr;
    };
    Remembered m_remembered[4];
    unsigned m_nextRemembered = 0;

    std::unique_ptr<Key> m_roots[2];
};

}  // namespace qm
