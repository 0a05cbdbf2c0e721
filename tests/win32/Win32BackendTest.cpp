// Facts of the Win32 backend that only the real system can show.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/StartupRules.h"
#include "platform/win32/Win32Platform.h"
#include "core/TestPlatform.h"
#include "platform/PathParts.h"
#include "pools/FileSearch.h"
#include "pools/FolderListing.h"
#include "pools/RegistryAccess.h"

namespace qm::test {

TEST(Win32System, DirectoriesMatchTheSystemsOwnAnswers) {
    Win32System system;
    char expected[MAX_PATH] = {};
    GetWindowsDirectoryA(expected, MAX_PATH);
    DirectoryResult windows = GetWindowsDir(system);
    ASSERT_TRUE(windows.ok);
    EXPECT_EQ(windows.dir, std::string(expected) + "\\");
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(GetProgramDir(system).dir, std::string(current) + "\\");
}

TEST(Win32System, AStartInTheWindowsDirectoryIsRecognised) {
    Win32System system;
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    std::string windows = GetWindowsDir(system).dir;
    ASSERT_TRUE(SetCurrentDirectoryA(windows.c_str()));
    EXPECT_EQ(ChooseRunKind(GetProgramDir(system).dir, windows), RunKind::Startup);
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(ChooseRunKind(GetProgramDir(system).dir, windows), RunKind::Interactive);
}

TEST(Win32FileSystem, FileSizeOfAcceptsTheDoubledBackslashOfTheInstalledScreenSaver) {
    Win32FileSystem files;
    Win32System system;
    std::string windows = GetWindowsDir(system).dir;
    // notepad.exe lives in the system folder of every prefix.
    std::uint32_t size = FileSizeOf(files, windows + "\\system32\\notepad.exe");
    EXPECT_GT(size, 0u);
    EXPECT_EQ(size, FileSizeOf(files, windows + "system32\\NOTEPAD.EXE"));
}

TEST(Win32Registry, AValueTooLargeToReadCountsAsAbsent) {
    const char key[] = "Software\\Corvalith\\Quill Mere\\2.0\\Huge";
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, key, &handle), ERROR_SUCCESS);
    std::string huge(Win32Registry::kMaxValueBytes + 10, 'x');
    RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(huge.c_str()),
                   static_cast<DWORD>(huge.size() + 1));
    RegCloseKey(handle);
    Win32Registry registry;
    EXPECT_EQ(ReadRegistryString(registry, RegistryRoot::LocalMachine, key), "");
    EXPECT_TRUE(WriteRegistryString(registry, key, "small", RegistryRoot::LocalMachine));
    EXPECT_EQ(ReadRegistryString(registry, RegistryRoot::LocalMachine, key), "small");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
}

// The backend keeps recently used keys open between calls; what it answers must still be
// what the registry holds when another program (here: plain Win32 calls) changes it.
TEST(Win32Registry, KeysHeldOpenFollowChangesMadeElsewhere) {
    const char root[] = "Software\\Corvalith\\Quill Mere\\2.0\\Held";
    const std::string key = std::string(root) + "\\Sound Files";
    const auto HKLM = RegistryRoot::LocalMachine;
    Win32Registry registry;
    ASSERT_TRUE(WriteRegistryString(registry, key, "one", HKLM));
    EXPECT_EQ(ReadRegistryString(registry, HKLM, key), "one");

    // Deleted and created again by someone else: the held handle names a deleted key.
    ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str()), ERROR_SUCCESS);
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, key.c_str(), &handle), ERROR_SUCCESS);
    RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("two"), 4);
    RegCloseKey(handle);
    EXPECT_EQ(ReadRegistryString(registry, HKLM, key), "two");
    EXPECT_TRUE(registry.SetValue(HKLM, key, "", "three"));
    Win32Registry another;
    EXPECT_EQ(ReadRegistryString(another, HKLM, key), "three");

    // Deleted by someone else and not created again: gone for us too, and not written.
    ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(ReadRegistryString(registry, HKLM, key), "");
    EXPECT_FALSE(registry.SetValue(HKLM, key, "", "four"));
    EXPECT_FALSE(registry.KeyExists(HKLM, key));

    // More keys than are held at once, each read back whole, one with a long name and text.
    const std::string longText(5000, 'w');
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(WriteRegistryString(registry, key + "\\" + std::to_string(i), i == 7 ? longText : std::to_string(i),
                                        HKLM));
    const std::string longName(300, 'n');
    ASSERT_TRUE(registry.SetValue(HKLM, key + "\\7", longName, "named"));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(ReadRegistryString(registry, HKLM, key + "\\" + std::to_string(i)), i == 7 ? longText : std::to_string(i));
    RegistryValue value;
    ASSERT_TRUE(registry.EnumValue(HKLM, key + "\\7", 1, value));
    EXPECT_EQ(value.name, longName);

    // A key with subkeys stays; a missing one counts as gone.
    EXPECT_FALSE(registry.DeleteKey(HKLM, key));
    EXPECT_TRUE(registry.KeyExists(HKLM, key + "\\7"));
    EXPECT_TRUE(registry.DeleteKey(HKLM, key + "\\missing\\deeper"));
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(registry.DeleteKey(HKLM, key + "\\" + std::to_string(i)));
    EXPECT_TRUE(registry.DeleteKey(HKLM, key));
    EXPECT_TRUE(registry.DeleteKey(HKLM, root));
    EXPECT_FALSE(registry.KeyExists(HKLM, root));
}

// The short alias of a long name exists and a search for it yields the long name; neither
// the search nor a load's folder listing counts it as the file.
TEST(Win32FileSystem, TheShortAliasOfALongNameIsNoMatch) {
    auto platform = MakeTestPlatform();
    const std::string folder = platform->Scratch();
    const std::string longName = "A rather long wallpaper name.bmp";
    platform->WriteFile(folder + longName, "1234");
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA((folder + longName).c_str(), shortPath, MAX_PATH), 0u);
    const std::string alias = SplitPath(shortPath).name;
    ASSERT_NE(alias, longName);

    Win32FileSystem files;
    std::string yielded;
    files.Search(folder + alias, [&](const FoundEntry& entry) {
        yielded = entry.name;
        return false;
    });
    EXPECT_EQ(yielded, longName);
    EXPECT_FALSE(FindFileInFolder(files, folder, alias));
    CFolderListing listing(files);
    EXPECT_FALSE(listing.Contains(folder, alias));
    EXPECT_EQ(listing.SizeOf(folder + alias), 0u);
    EXPECT_EQ(FileSizeOf(files, folder + alias), 0u);
    EXPECT_TRUE(listing.Contains(folder, longName));
    EXPECT_EQ(listing.SizeOf(folder + longName), 4u);
}

}  // namespace qm::test
