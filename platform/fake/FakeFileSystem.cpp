#include "platform/fake/FakeFileSystem.h"

#include <algorithm>
#include <cstring>

#include "platform/fake/FoldCase.h"

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
    StringReader(std::string data, long errorAfter) : m_data(std::move(data)), m_errorAfter(errorAfter) {}
    long Read(void* buffer, std::size_t count) override {
        std::size_t limit = m_data.size();
        if (m_errorAfter >= 0 && m_pos >= static_cast<std::size_t>(m_errorAfter)) return -1;
        if (m_errorAfter >= 0) limit = std::min(limit, static_cast<std::size_t>(m_errorAfter));
        std::size_t n = std::min(count, limit - std::min(limit, m_pos));
        std::memcpy(buffer, m_data.data() + m_pos, n);
        m_pos += n;
        return static_cast<long>(n);
    }
    std::int64_t Size() override { return static_cast<std::int64_t>(m_data.size()); }

private:
    std::string m_data;
    long m_errorAfter;
    std::size_t m_pos = 0;
};

class StringWriter : public IWriteStream {
public:
    explicit StringWriter(std::string& target) : m_target(target) {}
    bool Write(const void* data, std::size_t count) override {
        m_target.append(static_cast<const char*>(data), count);
        return true;
    }
    bool Close() override { return true; }

private:
    std::string& m_target;
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

std::string FakeFileSystem::Key(const std::string& path) { return FoldCase(Normalise(path)); }

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
    std::size_t slash = normal.find_last_of('\\');
    std::string folder = slash == std::string::npos ? std::string() : normal.substr(0, slash + 1);
    std::string namePattern = FoldCase(slash == std::string::npos ? normal : normal.substr(slash + 1));
    if (namePattern.empty()) return;
    std::string folderKey = FoldCase(folder);
    for (const auto& [key, node] : m_nodes) {
        std::size_t nodeSlash = node.path.find_last_of('\\');
        std::string nodeFolder = nodeSlash == std::string::npos ? std::string() : node.path.substr(0, nodeSlash + 1);
        std::string nodeName = nodeSlash == std::string::npos ? node.path : node.path.substr(nodeSlash + 1);
        if (FoldCase(nodeFolder) != folderKey || nodeName.empty()) continue;
        if (!WildcardMatch(namePattern.c_str(), FoldCase(nodeName).c_str())) continue;
        FoundEntry entry{nodeName, node.isFolder ? 0 : node.content.size(), node.isFolder};
        if (!visit(entry)) return;
    }
}

std::unique_ptr<IReadStream> FakeFileSystem::OpenRead(const std::string& path) {
    std::string key = Key(path);
    auto it = m_nodes.find(key);
    if (it == m_nodes.end() || it->second.isFolder || unreadable.count(key)) return nullptr;
    auto error = readErrorAfter.find(key);
    return std::make_unique<StringReader>(it->second.content,
                                          error == readErrorAfter.end() ? -1 : error->second);
}

std::unique_ptr<IWriteStream> FakeFileSystem::OpenWrite(const std::string& path, WriteMode mode) {
    std::string key = Key(path);
    auto it = m_nodes.find(key);
    if (it != m_nodes.end() && (it->second.isFolder || unreadable.count(key))) return nullptr;
    if (it == m_nodes.end()) {
        AddFile(path);
        it = m_nodes.find(key);
    } else if (mode == WriteMode::CreateAlways) {
        it->second.content.clear();
    }
    return std::make_unique<StringWriter>(it->second.content);
}

bool FakeFileSystem::SameName(const std::string& a, const std::string& b) {
    return FoldCase(a) == FoldCase(b);
}

}  // namespace qm
