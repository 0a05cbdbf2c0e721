#include "platform/fault/FaultInjection.h"

namespace qm {

namespace {

class FaultyReadStream : public IReadStream {
public:
    FaultyReadStream(std::unique_ptr<IReadStream> inner, FaultInjector& faults)
        : m_inner(std::move(inner)), m_faults(faults) {}
    long Read(void* buffer, std::size_t count) override {
        return m_faults.Fails(FileOp::Read) ? -1 : m_inner->Read(buffer, count);
    }
    std::int64_t Size() override { return m_inner->Size(); }

private:
    std::unique_ptr<IReadStream> m_inner;
    FaultInjector& m_faults;
};

class FaultyWriteStream : public IWriteStream {
public:
    FaultyWriteStream(std::unique_ptr<IWriteStream> inner, FaultInjector& faults)
        : m_inner(std::move(inner)), m_faults(faults) {}
    bool Write(const void* data, std::size_t count) override {
        return !m_faults.Fails(FileOp::Write) && m_inner->Write(data, count);
    }
    bool FlushToDisk() override { return !m_faults.Fails(FileOp::FlushToDisk) && m_inner->FlushToDisk(); }
    // A failed close still closes the file: only its report is lost. After a death the file
    // is left to the stream's end, as the system closes the handles of a dead process.
    bool Close() override {
        bool failed = m_faults.Fails(FileOp::Close);
        if (m_faults.Dead()) return false;
        return m_inner->Close() && !failed;
    }

private:
    std::unique_ptr<IWriteStream> m_inner;
    FaultInjector& m_faults;
};

}  // namespace

void FaultyFileSystem::Search(const std::string& pattern, const std::function<bool(const FoundEntry&)>& visit) {
    if (!m_faults.Fails(FileOp::Search)) m_inner.Search(pattern, visit);
}

std::unique_ptr<IReadStream> FaultyFileSystem::OpenRead(const std::string& path) {
    if (m_faults.Fails(FileOp::OpenRead)) return nullptr;
    std::unique_ptr<IReadStream> inner = m_inner.OpenRead(path);
    if (!inner) return nullptr;
    return std::make_unique<FaultyReadStream>(std::move(inner), m_faults);
}

std::unique_ptr<IWriteStream> FaultyFileSystem::OpenWrite(const std::string& path, WriteMode mode) {
    if (m_faults.Fails(FileOp::OpenWrite)) return nullptr;
    std::unique_ptr<IWriteStream> inner = m_inner.OpenWrite(path, mode);
    if (!inner) return nullptr;
    return std::make_unique<FaultyWriteStream>(std::move(inner), m_faults);
}

bool FaultyFileSystem::Copy(const std::string& from, const std::string& to) {
    return !m_faults.Fails(FileOp::Copy) && m_inner.Copy(from, to);
}

bool FaultyFileSystem::Delete(const std::string& path) {
    return !m_faults.Fails(FileOp::Delete) && m_inner.Delete(path);
}

bool FaultyFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    return !m_faults.Fails(FileOp::MoveReplacing) && m_inner.MoveReplacing(from, to);
}

bool FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    return !m_faults.Fails(FileOp::Rename) && m_inner.Rename(from, to);
}

bool FaultyFileSystem::CreateFolder(const std::string& path) {
    return !m_faults.Fails(FileOp::CreateFolder) && m_inner.CreateFolder(path);
}

bool FaultyFileSystem::RemoveFolder(const std::string& path) {
    return !m_faults.Fails(FileOp::RemoveFolder) && m_inner.RemoveFolder(path);
}

bool FaultyRegistry::KeyExists(RegistryRoot root, const std::string& path) {
    return !m_faults.Fails(RegistryOp::KeyExists) && m_inner.KeyExists(root, path);
}

bool FaultyRegistry::EnumValue(RegistryRoot root, const std::string& path, unsigned index, RegistryValue& out) {
    return !m_faults.Fails(RegistryOp::EnumValue) && m_inner.EnumValue(root, path, index, out);
}

bool FaultyRegistry::EnumSubkey(RegistryRoot root, const std::string& path, unsigned index, std::string& name) {
    return !m_faults.Fails(RegistryOp::EnumSubkey) && m_inner.EnumSubkey(root, path, index, name);
}

bool FaultyRegistry::DeleteKey(RegistryRoot root, const std::string& path) {
    return !m_faults.Fails(RegistryOp::DeleteKey) && m_inner.DeleteKey(root, path);
}

bool FaultyRegistry::CreateKey(RegistryRoot root, const std::string& path) {
    return !m_faults.Fails(RegistryOp::CreateKey) && m_inner.CreateKey(root, path);
}

bool FaultyRegistry::ReadValue(RegistryRoot root, const std::string& path, const std::string& name,
                               std::string& data) {
    return !m_faults.Fails(RegistryOp::ReadValue) && m_inner.ReadValue(root, path, name, data);
}

bool FaultyRegistry::SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                              const std::string& text) {
    return !m_faults.Fails(RegistryOp::SetValue) && m_inner.SetValue(root, path, name, text);
}

bool FaultyRegistry::Contents(RegistryRoot root, const std::string& path, KeyContents& out) {
    return !m_faults.Fails(RegistryOp::Contents) && m_inner.Contents(root, path, out);
}

bool FaultyRegistry::DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) {
    return !m_faults.Fails(RegistryOp::DeleteValue) && m_inner.DeleteValue(root, path, name);
}

// A failed probe reports what a refusal reports.
WriteAccess FaultyFileSystem::ProbeWrite(const std::string& path) {
    return m_faults.Fails(FileOp::ProbeWrite) ? WriteAccess::denied : m_inner.ProbeWrite(path);
}

bool FaultyRegistry::KeyWritable(RegistryRoot root, const std::string& path) {
    return !m_faults.Fails(RegistryOp::KeyWritable) && m_inner.KeyWritable(root, path);
}

}  // namespace qm
