// The chooser without a window: listing rules, navigation, history, drive entries, the
// Desktop folder, folder operations and what OK records, on the fake file system.
#include <gtest/gtest.h>

#include "chooser/ChooserBrowser.h"
#include "chooser/ChooserRules.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystem.h"

namespace qm::test {

class Chooser : public ::testing::Test {
protected:
    Chooser() : browser(files, registry, system, "C:\\WINDOWS\\") {}
    std::vector<std::string> Names(const std::vector<ListedName>& listed) {
        std::vector<std::string> names;
        for (const auto& item : listed) names.push_back(item.name + ":" + std::to_string(item.image));
        std::sort(names.begin(), names.end());
        return names;
    }
    void ShellFolders(const std::vector<std::pair<std::string, std::string>>& values) {
        registry.CreateKey(RegistryRoot::CurrentUser, kShellFoldersKey);
        for (const auto& [name, data] : values) registry.SetValue(RegistryRoot::CurrentUser, kShellFoldersKey, name, data);
    }
    FakeFileSystem files;
    FakeRegistry registry;
    FakeSystem system;
    CChooserBrowser browser;
};

TEST_F(Chooser, ListsFoldersAndOnlyTheEligibleFiles) {
    for (const char* name : {"QUILL MERE 2.bmp", "quillmere.scr", "My Quill Mere.bmp", "song.WAV", "tune.Wav",
                             "saver.scr", "notes.txt", "pic.BMP", "caf\xE9.wav", ".wav"})
        files.AddFile(std::string("C:\\M\\") + name);
    files.AddFile("C:\\M\\" + std::string(251, 'x') + ".bmp");  // 260 characters, beyond what the platform's calls reach
    files.AddFolder("C:\\M\\Sub");
    files.AddFolder("C:\\M\\.hidden");
    browser.SetPath("C:\\M\\");
    FolderContents listing = browser.List();
    EXPECT_EQ(Names(listing.folders), (std::vector<std::string>{".hidden:1", "Sub:1"}));
    EXPECT_EQ(Names(listing.files), (std::vector<std::string>{".wav:3", "My Quill Mere.bmp:2", "caf\xE9.wav:3",
                                                              "pic.BMP:2", "saver.scr:2", "song.WAV:3"}));
    browser.SetPath("C:\\Nowhere\\");
    FolderContents none = browser.List();
    EXPECT_TRUE(none.folders.empty() && none.files.empty());
    EXPECT_EQ(browser.History(), (std::vector<std::string>{"C:\\Nowhere\\", "C:\\M\\"}));
}

TEST_F(Chooser, UpLevelBackAndTheHistory) {
    browser.SetPath("C:\\A\\B\\");
    EXPECT_FALSE(browser.Back());  // nothing before the first folder of a showing
    browser.UpLevel();
    EXPECT_EQ(browser.Path(), "C:\\A\\");
    browser.UpLevel();
    browser.UpLevel();
    EXPECT_EQ(browser.Path(), "C:\\");
    EXPECT_EQ(browser.PrevPath(), "C:\\");
    browser.SetPath("C:\\A\\");
    browser.ResetForShow();
    browser.OpenFolder("Sub");
    EXPECT_EQ(browser.Path(), "C:\\A\\Sub\\");
    EXPECT_TRUE(browser.Back());
    EXPECT_EQ(browser.Path(), "C:\\A\\");
    EXPECT_TRUE(browser.Back());
    EXPECT_EQ(browser.Path(), "C:\\A\\Sub\\");

    for (const char* path : {"C:\\A\\", "C:\\B\\", "c:\\a\\"}) {
        browser.SetPath(path);
        browser.List();
    }
    EXPECT_EQ(browser.History(), (std::vector<std::string>{"c:\\a\\", "C:\\B\\"}));

    // A folder deleted behind the chooser's back leaves the history when chosen there.
    files.AddFolder("C:\\Kept\\Deep");
    browser.ChooseHistoryEntry("C:\\Kept\\Deep\\");
    EXPECT_EQ(browser.Path(), "C:\\Kept\\Deep\\");
    browser.List();
    browser.ChooseHistoryEntry("C:\\B\\");
    EXPECT_EQ(browser.Path(), "C:\\Kept\\Deep\\");
    EXPECT_EQ(browser.History(), (std::vector<std::string>{"C:\\Kept\\Deep\\", "c:\\a\\"}));
    browser.ChooseHistoryEntry("D:\\");  // a root is taken without a check
    EXPECT_EQ(browser.Path(), "D:\\");
}

TEST_F(Chooser, DriveEntriesForEachKindAndChoosingThem) {
    files.drives = {{'A', DriveKind::Removable}, {'C', DriveKind::Fixed}, {'E', DriveKind::CdRom},
                    {'N', DriveKind::Remote},    {'R', DriveKind::RamDisk}, {'X', DriveKind::NoRoot}};
    EXPECT_EQ(browser.DriveEntries(),
              (std::vector<std::string>{"Desktop", "[-A-]  --  Floppy Drive", "[-C-]  --  Fixed Drive",
                                        "[-E-]  --  CD-ROM Drive", "[-N-]  --  Network Drive"}));
    browser.SetPath("C:\\A\\");
    EXPECT_EQ(browser.CurrentDrivePrefix(), "[-C-]");
    EXPECT_TRUE(browser.ChooseDriveEntry("[-C-]  --  Fixed Drive"));
    EXPECT_EQ(browser.Path(), "C:\\A\\");  // the current drive keeps the folder
    EXPECT_TRUE(browser.ChooseDriveEntry("[-E-]  --  CD-ROM Drive"));
    EXPECT_EQ(browser.Path(), "E:\\");
    EXPECT_EQ(browser.PrevPath(), "C:\\A\\");
}

TEST_F(Chooser, TheDesktopFolderOnEachPlatform) {
    system.windowsNT = false;
    EXPECT_EQ(browser.DesktopFolder(), "C:\\WINDOWS\\Desktop\\");
    system.windowsNT = true;
    // No History value and no Desktop value: the shell's own answer, never "Desktop\".
    EXPECT_EQ(browser.DesktopFolder(), "C:\\Documents and Settings\\User\\Desktop\\");
    // An old-style profile holds History and Desktop side by side.
    files.AddFolder("C:\\WINNT\\Profiles\\user\\Desktop");
    ShellFolders({{"Favorites", "C:\\WINNT\\Profiles\\user\\Favorites"}, {"History", "C:\\WINNT\\Profiles\\user\\History"}});
    EXPECT_EQ(browser.DesktopFolder(), "C:\\WINNT\\Profiles\\user\\Desktop\\");
    // A modern one keeps History elsewhere: the Desktop value is the real folder.
    ShellFolders({{"History", "C:\\Users\\u\\AppData\\Local\\Microsoft\\Windows\\History"},
                  {"Desktop", "C:\\Users\\u\\Desktop"}});
    EXPECT_EQ(browser.DesktopFolder(), "C:\\Users\\u\\Desktop\\");

    // Choosing Desktop while it is shown changes nothing.
    browser.SetPath("C:\\Users\\u\\Desktop\\");
    EXPECT_FALSE(browser.ChooseDriveEntry("Desktop"));
    browser.SetPath("C:\\");
    EXPECT_TRUE(browser.ChooseDriveEntry("Desktop"));
    EXPECT_EQ(browser.Path(), "C:\\Users\\u\\Desktop\\");
}

TEST_F(Chooser, FolderOperationsActInTheFolderShown) {
    files.AddFolder("C:\\M\\Full");
    files.AddFile("C:\\M\\Full\\x.bmp");
    files.AddFile("C:\\M\\a.wav");
    browser.SetPath("C:\\M\\");
    EXPECT_TRUE(browser.NewFolder("New"));
    EXPECT_TRUE(files.IsFolder("C:\\M\\New"));
    EXPECT_TRUE(browser.Rename("New", "Old"));
    EXPECT_FALSE(browser.Rename("Old", "Full"));  // the target exists
    EXPECT_TRUE(files.IsFolder("C:\\M\\Old"));
    browser.Remove("Full", "a.wav");  // a folder that is not empty stays; the file goes
    EXPECT_TRUE(files.Exists("C:\\M\\Full"));
    EXPECT_FALSE(files.Exists("C:\\M\\a.wav"));
    browser.Remove("Old", "");
    EXPECT_FALSE(files.Exists("C:\\M\\Old"));
    EXPECT_EQ(browser.Path(), "C:\\M\\");
}

TEST_F(Chooser, OkRecordsNamesInListOrderWithCountsAndClicksEnableTheGroups) {
    ChooserSelection selection = RecordSelection({"a.bmp", "b.BMP", "c.scr", "d.WAV", "e.txt", "f.Wav"}, true);
    EXPECT_EQ(selection.names, (std::vector<std::string>{"a.bmp", "b.BMP", "c.scr", "d.WAV"}));
    EXPECT_EQ(selection.bmpCount, 2);
    EXPECT_EQ(selection.scrCount, 1);
    EXPECT_EQ(selection.wavCount, 1);
    EXPECT_TRUE(RecordSelection({}, true).names.empty());

    OptionGroups both = OptionsForSelection({"a.bmp", "b.wav"});
    EXPECT_TRUE(both.sound && both.wallpaper);
    OptionGroups saver = OptionsForSelection({"c.scr"});
    EXPECT_FALSE(saver.sound || saver.wallpaper);
}

}  // namespace qm::test
