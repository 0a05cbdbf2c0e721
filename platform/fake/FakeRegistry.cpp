#include "platform/fake/FakeRegistry.h"

#include <iterator>

#include "platform/fake/FoldedName.h"

namespace qm {

struct FakeRegistry::Key {
    std::string name;
    std::map<std::string, std::unique_ptr<Key>, std::less<>> children;  // by folded name
    std::vector<RegistryValue> values;                                  // default value first
};

FakeRegistry::FakeRegistry() {
    for (auto& root : m_roots) root = std::make_unique<Key>();
}
FakeRegistry::~FakeRegistry() = default;

// Walks the path one name at a time, copying nothing unless a key is created: the program
// reads its counters on every load, and the fuzzer loads many thousand times a second.
FakeRegistry::Key* FakeRegistry::Find(RegistryRoot root, std::string_view path, bool create) {
    for (const Remembered& known : m_remembered)
        if (known.key && known.root == root && known.path == path) return known.key;
    Key* key = Walk(root, path, create);
    if (key) {
        Remembered& slot = m_remembered[m_nextRemembered++ % std::size(m_remembered)];
        slot.root = root;
        slot.path.assign(path);
        slot.key = key;
    }
    return key;
}

FakeRegistry::Key* FakeRegistry::Walk(RegistryRoot root, std::string_view path, bool create) {
    Key* key = m_roots[root == RegistryRoot::LocalMachine ? 0 : 1].get();
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) {
            const std::string_view part = path.substr(start, end - start);
            auto found = key->children.find(FoldedName(part).view());
            if (found == key->children.end()) {
                if (!create) return nullptr;
                auto added = std::make_unique<Key>();
                added->name = std::string(part);
                found = key->children.emplace(FoldPath(added->name), std::move(added)).first;
            }
            key = found->second.get();
        }
        start = end + 1;
    }
    return key;
}

namespace {

std::string Trimmed(const std::string& path) {
    std::string folded = FoldPath(path);
    while (!folded.empty() && folded.back() == '\\') folded.pop_back();
    return folded;
}

}  // namespace

void FakeRegistry::Protect(RegistryRoot root, const std::string& path) { m_protected.emplace_back(root, Trimmed(path)); }

bool FakeRegistry::Protected(RegistryRoot root, const std::string& path) const {
    if (m_protected.empty()) return false;
    const std::string folded = Trimmed(path);
    for (const auto& [protectedRoot, prefix] : m_protected) {
        if (protectedRoot != root) continue;
        if (prefix.empty() || folded == prefix ||
            (folded.size() > prefix.size() && folded.compare(0, prefix.size(), prefix) == 0 && folded[prefix.size()] == '\\'))
            return true;
    }
    return false;
}

bool FakeRegistry::KeyWritable(RegistryRoot root, const std::string& path) {
    return !Protected(root, path) && Find(root, path, false) != nullptr;
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
    if (Protected(root, path)) return !Find(root, path, false);
    std::string_view rest(path);
    while (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
    const std::size_t cut = rest.find_last_of('\\');
    const std::string_view last = cut == std::string_view::npos ? rest : rest.substr(cut + 1);
    if (last.empty()) return false;
    Key* parent = Find(root, cut == std::string_view::npos ? std::string_view() : rest.substr(0, cut), false);
    if (!parent) return true;
    auto it = parent->children.find(FoldedName(last).view());
    if (it == parent->children.end()) return true;
    if (!it->second->children.empty()) return false;
    for (Remembered& known : m_remembered) known.key = nullptr;
    parent->children.erase(it);
    return true;
}

bool FakeRegistry::CreateKey(RegistryRoot root, const std::string& path) {
    if (Protected(root, path)) return Find(root, path, false) != nullptr;
    return Find(root, path, true) != nullptr;
}

bool FakeRegistry::ReadValue(RegistryRoot root, const std::string& path, const std::string& name,
                             std::string& data) {
    Key* key = Find(root, path, false);
    if (!key) return false;
    for (const auto& value : key->values) {
        if (!EqualIgnoringCase(value.name, name)) continue;
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
        if (EqualIgnoringCase(value.name, name)) {
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
    if (Protected(root, path)) return false;
    // REG_SZ data carries its terminating zero, as the Win32 backend stores it.
    return SetRawValue(root, path, name, text + std::string(1, '\0'));
}

bool FakeRegistry::Contents(RegistryRoot root, const std::string& path, KeyContents& out) {
    Key* key = Find(root, path, false);
    if (!key) return false;
    out.subkeys = static_cast<unsigned>(key->children.size());
    out.values = static_cast<unsigned>(key->values.size());
    return true;
}

bool FakeRegistry::DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) {
    Key* key = Find(root, path, false);
    if (!key) return true;
    if (Protected(root, path)) return false;
    for (auto it = key->values.begin(); it != key->values.end(); ++it)
        if (EqualIgnoringCase(it->name, name)) {
            key->values.erase(it);
            break;
        }
    return true;
}

}  // namespace qm
