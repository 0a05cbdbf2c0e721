#include "platform/fake/FakeRegistry.h"

#include "platform/fake/FoldCase.h"

namespace qm {

struct FakeRegistry::Key {
    std::string name;
    std::map<std::string, std::unique_ptr<Key>> children;  // by folded name
    std::vector<RegistryValue> values;                       // default value first
};

FakeRegistry::FakeRegistry() {
    for (auto& root : m_roots) root = std::make_unique<Key>();
}
FakeRegistry::~FakeRegistry() = default;

static std::vector<std::string> SplitKeyPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

// Walks the path one name at a time without building a list of its parts: the program
// reads its counters on every load, and the fuzzer loads many thousand times a second.
FakeRegistry::Key* FakeRegistry::Find(RegistryRoot root, const std::string& path, bool create) {
    Key* key = m_roots[root == RegistryRoot::LocalMachine ? 0 : 1].get();
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) {
            const std::string part = path.substr(start, end - start);
            const std::string folded = FoldCase(part);
            auto found = key->children.find(folded);
            if (found == key->children.end()) {
                if (!create) return nullptr;
                auto added = std::make_unique<Key>();
                added->name = part;
                found = key->children.emplace(folded, std::move(added)).first;
            }
            key = found->second.get();
        }
        start = end + 1;
    }
    return key;
}

bool FakeRegistry::KeyExists(RegistryRoot root, const std::string& path) {
    return Find(root, path, false) != nullptr;
}

bool FakeRegistry::EnumValue(RegistryRoot root, const std::string& path, unsigned index,
                             RegistryValue& out) {
    Key* key = Find(root, path, false);
    if (!key || index >= key->values.size()) return false;
    out = key->values[index];
    return true;
}

bool FakeRegistry::EnumSubkey(RegistryRoot root, const std::string& path, unsigned index,
                              std::string& name) {
    Key* key = Find(root, path, false);
    if (!key || index >= key->children.size()) return false;
    auto it = key->children.begin();
    std::advance(it, index);
    name = it->second->name;
    return true;
}

bool FakeRegistry::DeleteKey(RegistryRoot root, const std::string& path) {
    std::vector<std::string> parts = SplitKeyPath(path);
    if (parts.empty()) return false;
    std::string last = parts.back();
    parts.pop_back();
    std::string parentPath;
    for (const auto& p : parts) parentPath += p + "\\";
    Key* parent = Find(root, parentPath, false);
    if (!parent) return true;
    auto it = parent->children.find(FoldCase(last));
    if (it == parent->children.end()) return true;
    if (!it->second->children.empty()) return false;
    parent->children.erase(it);
    return true;
}

bool FakeRegistry::CreateKey(RegistryRoot root, const std::string& path) {
    return Find(root, path, true) != nullptr;
}

bool FakeRegistry::ReadValue(RegistryRoot root, const std::string& path, const std::string& name,
                             std::string& data) {
    Key* key = Find(root, path, false);
    if (!key) return false;
    for (const auto& value : key->values) {
        if (FoldCase(value.name) != FoldCase(name)) continue;
        data = value.data;
        return true;
    }
    return false;
}

bool FakeRegistry::SetRawValue(RegistryRoot root, const std::string& path,
                               const std::string& name, const std::string& bytes) {
    Key* key = Find(root, path, false);
    if (!key) return false;
    for (auto& value : key->values) {
        if (FoldCase(value.name) == FoldCase(name)) {
            value.data = bytes;
            return true;
        }
    }
    RegistryValue value{name, bytes};
    if (name.empty())
        key->values.insert(key->values.begin(), value);
    else
        key->values.push_back(value);
    return true;
}

bool FakeRegistry::SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                            const std::string& text) {
    // REG_SZ data carries its terminating zero, as the Win32 backend stores it.
    return SetRawValue(root, path, name, text + std::string(1, '\0'));
}

}  // namespace qm
