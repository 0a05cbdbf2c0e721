// What the platform says about writing, natively on the fakes and under Wine on the real
// registry and files: the storage choice relies on both answering alike.
#include <gtest/gtest.h>

#include "core/TestPlatform.h"

namespace qm::test {

TEST(WriteAccess, AProbeTellsAWritableFileAFileInUseAFolderAndNothingApart) {
    std::unique_ptr<TestPlatform> platform = MakeTestPlatform();
    const std::string dir = platform->Scratch();
    platform->WriteFile(dir + "free.bmp", "BM");
    platform->WriteFile(dir + "held.bmp", "BM");
    platform->WriteFile(dir + "folder\\inside.txt", "");
    const bool locked = platform->LockFile(dir + "held.bmp");
    const struct {
        const char* name;
        WriteAccess expected;
    } rows[] = {{"free.bmp", WriteAccess::allowed},
                {"held.bmp", locked ? WriteAccess::inUse : WriteAccess::allowed},
                {"folder", WriteAccess::denied},
                {"none.bmp", WriteAccess::missing}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(platform->Files().ProbeWrite(dir + row.name), row.expected);
    }
    EXPECT_EQ(platform->ReadFile(dir + "free.bmp"), "BM");  // a probe writes nothing
}

TEST(WriteAccess, KeysTellWhetherTheyOpenForWritingAndWhatTheyHold) {
    std::unique_ptr<TestPlatform> platform = MakeTestPlatform();
    IRegistry& registry = platform->Registry();
    const RegistryRoot root = RegistryRoot::LocalMachine;
    const std::string key = "Software\\Corvalith\\Quill Mere\\2.0\\Probe";
    EXPECT_FALSE(registry.KeyWritable(root, key));
    KeyContents contents;
    EXPECT_FALSE(registry.Contents(root, key, contents));
    ASSERT_TRUE(registry.CreateKey(root, key + "\\Child"));
    ASSERT_TRUE(registry.SetValue(root, key, "", "text"));
    ASSERT_TRUE(registry.SetValue(root, key, "Named", "more"));
    EXPECT_TRUE(registry.KeyWritable(root, key));
    ASSERT_TRUE(registry.Contents(root, key, contents));
    EXPECT_EQ(contents.subkeys, 1u);
    EXPECT_EQ(contents.values, 2u);
    EXPECT_TRUE(registry.DeleteValue(root, key, "Named"));
    EXPECT_TRUE(registry.DeleteValue(root, key, "Named"));  // gone already
    ASSERT_TRUE(registry.Contents(root, key, contents));
    EXPECT_EQ(contents.values, 1u);
    DeleteKeyTree(registry, root, "Software\\Corvalith");
}

}  // namespace qm::test
