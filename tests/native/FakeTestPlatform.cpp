#include "core/TestPlatform.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystem.h"

namespace qm::test {

namespace {

class FakeTestPlatform : public TestPlatform {
public:
    FakeTestPlatform() { files.AddFolder("C:\\Scratch"); }
    IRegistry& Registry() override { return registry; }
    IFileSystem& Files() override { return files; }
    ISystem& System() override { return system; }
    std::string Scratch() override { return "C:\\Scratch\\"; }
    void WriteFile(const std::string& path, const std::string& bytes) override { files.AddFile(path, bytes); }
    std::string ReadFile(const std::string& path) override { return files.Content(path); }
    void DeleteFile(const std::string& path) override { files.Remove(path); }
    void SetRawValue(RegistryRoot root, const std::string& key, const std::string& name,
                     const std::string& bytes) override {
        registry.CreateKey(root, key);
        registry.SetRawValue(root, key, name, bytes);
    }
    bool LockFile(const std::string& path) override {
        files.Lock(path);
        return true;
    }

    FakeRegistry registry;
    FakeFileSystem files;
    FakeSystem system;
};

}  // namespace

std::unique_ptr<TestPlatform> MakeTestPlatform() { return std::make_unique<FakeTestPlatform>(); }

}  // namespace qm::test
