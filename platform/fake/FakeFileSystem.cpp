#include "platform/fake/FakeFileSystem.h"

#include <algorithm>
#include <cstring>

#include "platform/LetterCase.h"
#include "platform/PathParts.h"

namespace qm {

namespace {

bool WildcardMatch(const char* pattern, const char* text) {
    if (*pattern == '\0') return *text == '\0';
    if (*pattern == '*')
        return WildcardMatch(pattern + 1, text) || (*text && WildcardMatch(pattern, text + 1));
    if (*text == '\0') return false;
    return (*pattern == '?' || *pattern == *text) && WildcardMatch(pattern + 1, text + 1);
}

class StringReader : public IReadStream {
public:
    explicit StringReader(std::string data) : m_data(std::move(data)) {}
    long Read(void* buffer, std::size_t count) override {
        std::size_t n = std::min(count, m_data.size() - m_pos);
        std::memcpy(buffer, m_data.data() + m_pos, n);
        m_pos += n;
        return static_cast<long>(n);
    }
    std::int64_t Size() override { return static_cast<std::int64_t>(m_data.size()); }

private:
    std::string m_data;
    std::size_t m_pos = 0;
};

class StringWriter : public IWriteStream {
public:
    StringWriter(std::string& target, std::string path, std::vector<std::string>& journal)
        : m_target(target), m_path(std::move(path)), m_journal(journal) {}
    bool Write(const void* data, std::size_t count) override {
        m_target.append(static_cast<const char*>(data), count);
        return true;
    }
    bool FlushToDisk() override {
        m_journal.push_back("flush " + m_path);
        return true;
    }
    bool Close() override { return true; }

private:
    std::string& m_target;
    std::string m_path;
    std::vector<std::string>& m_journal;
};

}  // namespace

std::string FakeFileSystem::Normalise(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '\\' && !out.empty() && out.back() == '\\') continue;
        out += c;
    }
    if (out.size() > 3 && out.back() == '\\') out.pop_back();
    return out;
}

std::string FakeFileSystem::Key(const std::string& path) { return FoldPath(Normalise(path)); }

void FakeFileSystem::AddParents(const std::string& path) {
    std::string normal = Normalise(path);
    std::size_t slash = normal.find_last_of('\\');
    if (slash == std::string::npos || slash == 0) return;
    std::string parent = normal.substr(0, slash);
    if (parent.size() == 2 && parent[1] == ':') parent += '\\';
    if (m_nodes.count(Key(parent)) || parent == normal) return;
    AddFolder(parent);
}

void FakeFileSystem::AddFolder(const std::string& path) {
    AddParents(path);
    m_nodes[Key(path)] = Node{Normalise(path), std::string(), true};
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content) {
    AddParents(path);
    m_nodes[Key(path)] = Node{Normalise(path), content, false};
}

bool FakeFileSystem::Exists(const std::string& path) const { return m_nodes.count(Key(path)) != 0; }

std::string FakeFileSystem::Content(const std::string& path) const {
    auto it = m_nodes.find(Key(path));
    return it == m_nodes.end() ? std::string() : it->second.content;
}

void FakeFileSystem::Remove(const std::string& path) { m_nodes.erase(Key(path)); }

void FakeFileSystem::Search(const std::string& pattern,
                            const std::function<bool(const FoundEntry&)>& visit) {
    std::string normal = Normalise(pattern);
    const PathParts searched = SplitPath(normal);
    std::string namePattern = FoldPath(searched.name);
    if (namePattern.empty()) return;
    std::string folderKey = FoldPath(searched.folder);
    for (const auto& [key, node] : m_nodes) {
        const PathParts parts = SplitPath(node.path);
        const std::string& nodeName = parts.name;
        if (FoldPath(parts.folder) != folderKey || nodeName.empty()) continue;
        if (!WildcardMatch(namePattern.c_str(), FoldPath(nodeName).c_str())) continue;
        FoundEntry entry{nodeName, node.isFolder ? 0 : node.content.size(), node.isFolder};
        if (!visit(entry)) return;
    }
}

std::unique_ptr<IReadStream> FakeFileSystem::OpenRead(const std::string& path) {
    std::string key = Key(path);
    auto it = m_nodes.find(key);
    if (it == m_nodes.end() || it->second.isFolder || m_locked.count(key)) return nullptr;
    return std::make_unique<StringReader>(it->second.content);
}

std::unique_ptr<IWriteStream> FakeFileSystem::OpenWrite(const std::string& path, WriteMode mode) {
    std::string key = Key(path);
    auto it = m_nodes.find(key);
    if (it != m_nodes.end() && (it->second.isFolder || m_locked.count(key))) return nullptr;
    if (IsProtected(path)) return nullptr;
    if (it == m_nodes.end()) {
        if (!ParentExists(path)) return nullptr;
        AddFile(path);
        it = m_nodes.find(key);
    } else if (mode == WriteMode::CreateAlways) {
        it->second.content.clear();
    }
    return std::make_unique<StringWriter>(it->second.content, Normalise(path), journal);
}

bool FakeFileSystem::SameName(const std::string& a, const std::string& b) {
    return EqualIgnoringCase(a, b);
}

bool FakeFileSystem::IsFolder(const std::string& path) const {
    auto it = m_nodes.find(Key(path));
    return it != m_nodes.end() && it->second.isFolder;
}

void FakeFileSystem::Lock(const std::string& path) { m_locked.insert(Key(path)); }

void FakeFileSystem::Protect(const std::string& path) { m_protected.insert(Key(path)); }

bool FakeFileSystem::IsProtected(const std::string& path) const {
    if (m_protected.empty()) return false;
    return m_protected.count(Key(path)) || m_protected.count(Key(SplitPath(Normalise(path)).folder));
}

WriteAccess FakeFileSystem::ProbeWrite(const std::string& path) {
    auto it = m_nodes.find(Key(path));
    if (it == m_nodes.end()) return WriteAccess::missing;
    if (it->second.isFolder || IsProtected(path)) return WriteAccess::denied;
    return IsLocked(path) ? WriteAccess::inUse : WriteAccess::allowed;
}

bool FakeFileSystem::IsLocked(const std::string& path) const { return m_locked.count(Key(path)) != 0; }

bool FakeFileSystem::HasChildren(const std::string& key) const {
    std::string prefix = key.back() == '\\' ? key : key + "\\";
    auto it = m_nodes.lower_bound(prefix);
    return it != m_nodes.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

bool FakeFileSystem::ParentExists(const std::string& path) const {
    std::string normal = Normalise(path);
    std::size_t slash = normal.find_last_of('\\');
    if (slash == std::string::npos) return true;  // relative to the working folder
    std::string parent = normal.substr(0, slash);
    if (parent.size() == 2 && parent[1] == ':') return true;  // a drive root
    return IsFolder(parent);
}

bool FakeFileSystem::Copy(const std::string& from, const std::string& to) {
    auto source = m_nodes.find(Key(from));
    if (source == m_nodes.end() || source->second.isFolder || IsLocked(from)) return false;
    if (IsLocked(to) || IsFolder(to) || !ParentExists(to) || IsProtected(to)) return false;
    std::string content = source->second.content;
    AddFile(to, content);
    return true;
}

bool FakeFileSystem::Delete(const std::string& path) {
    auto it = m_nodes.find(Key(path));
    if (it == m_nodes.end() || it->second.isFolder || IsLocked(path) || IsProtected(path)) return false;
    m_nodes.erase(it);
    return true;
}

bool FakeFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    auto source = m_nodes.find(Key(from));
    if (source == m_nodes.end() || source->second.isFolder || IsLocked(from) || IsProtected(from)) return false;
    if (IsLocked(to) || IsFolder(to) || !ParentExists(to) || IsProtected(to)) return false;
    std::string content = source->second.content;
    m_nodes.erase(source);
    AddFile(to, content);
    journal.push_back("move " + Normalise(from) + " > " + Normalise(to));
    return true;
}

bool FakeFileSystem::Rename(const std::string& from, const std::string& to) {
    std::string fromKey = Key(from), toKey = Key(to);
    auto source = m_nodes.find(fromKey);
    if (source == m_nodes.end() || IsLocked(from) || !ParentExists(to) || IsProtected(from) || IsProtected(to))
        return false;
    if (m_nodes.count(toKey) && toKey != fromKey) return false;
    // Move the node and, for a folder, everything below it.
    std::string fromPrefix = fromKey + "\\";
    std::string toPath = Normalise(to);
    std::map<std::string, Node> moved;
    for (auto it = m_nodes.begin(); it != m_nodes.end();) {
        if (it->first == fromKey || it->first.compare(0, fromPrefix.size(), fromPrefix) == 0) {
            Node node = it->second;
            node.path = toPath + node.path.substr(Normalise(from).size());
            moved[Key(node.path)] = node;
            it = m_nodes.erase(it);
        } else {
            ++it;
        }
    }
    m_nodes.insert(moved.begin(), moved.end());
    return true;
}

bool FakeFileSystem::CreateFolder(const std::string& path) {
    if (Exists(path) || !ParentExists(path)) return false;
    m_nodes[Key(path)] = Node{Normalise(path), std::string(), true};
    return true;
}

bool FakeFileSystem::RemoveFolder(const std::string& path) {
    std::string key = Key(path);
    auto it = m_nodes.find(key);
    if (it == m_nodes.end() || !it->second.isFolder || HasChildren(key)) return false;
    m_nodes.erase(it);
    return true;
}

bool FakeFileSystem::ShortPath(const std::string& path, std::string& out) {
    if (!Exists(path)) return false;
    for (const auto& [longPath, shortName] : shortNames) {
        if (Key(longPath) != Key(path)) continue;
        out = SplitPath(Normalise(path)).folder + shortName;
        return true;
    }
    out = path;
    return true;
}

std::uint32_t FakeFileSystem::LogicalDrives() {
    std::uint32_t mask = 0;
    for (const auto& [letter, kind] : drives)
        if (letter >= 'A' && letter <= 'Z') mask |= 1u << (letter - 'A');
    return mask;
}

DriveKind FakeFileSystem::KindOfDrive(const std::string& root) {
    if (root.empty()) return DriveKind::NoRoot;
    auto it = drives.find(UpperAscii(root[0]));
    return it == drives.end() ? DriveKind::NoRoot : it->second;
}

}  // namespace qm
