#pragma once
// What a core test needs of a platform: the three interfaces, a scratch folder of its own,
// and ways to set up and inspect files and registry keys directly. Natively this is the
// in-memory fakes; in the Windows build it is the real registry and files under Wine.
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/System.h"

namespace qm::test {

class TestPlatform {
public:
    virtual ~TestPlatform() = default;
    virtual IRegistry& Registry() = 0;
    virtual IFileSystem& Files() = 0;
    virtual ISystem& System() = 0;
    // An empty folder for this test, ending in a backslash.
    virtual std::string Scratch() = 0;
    virtual void WriteFile(const std::string& path, const std::string& bytes) = 0;
    virtual std::string ReadFile(const std::string& path) = 0;
    virtual void DeleteFile(const std::string& path) = 0;
    // Sets a value with raw bytes of any length (for texts the program would never write).
    virtual void SetRawValue(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::string& bytes) = 0;
    // Keeps the file open so that nobody else can open it, until the platform is destroyed
    // or the lock is released; false where the platform cannot lock files.
    virtual bool LockFile(const std::string& path) = 0;
};

// One fresh platform per test: the program's registry keys are gone and the scratch folder
// is empty.
std::unique_ptr<TestPlatform> MakeTestPlatform();

// Deletes a key and everything below it.
void DeleteKeyTree(IRegistry& registry, RegistryRoot root, const std::string& path);

}  // namespace qm::test
