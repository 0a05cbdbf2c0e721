// The event sounds of the real program: the scheme chooser lists a prepared "AppEvents" tree,
// the event list shows marks and current files, the marks are written, and the two
// randomize buttons give marked events only sounds listed for their scheme.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>

#include "core/PoolBytes.h"
#include "e2e/ProgramDriver.h"
#include "e2e/RemoteControls.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

const char kSoundCounter[] = "Software\\Corvalith\\Quill Mere\\2.0\\Sound Files";

std::string Current(const std::string& app, const std::string& event) {
    return ReadDefaultValue(HKEY_CURRENT_USER, EventKey(app, event) + "\\.current");
}
std::string Marker(const std::string& app, const std::string& event) {
    return ReadDefaultValue(HKEY_CURRENT_USER, EventKey(app, event) + "\\Active-QM");
}
std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// Each row of the event list as "name|Active|Current File|checked".
std::vector<std::string> Rows(const RemoteListView& list) {
    std::vector<std::string> rows;
    for (int row = 0; row < list.Count(); ++row)
        rows.push_back(list.Text(row, 0) + "|" + list.Text(row, 1) + "|" + list.Text(row, 2) + "|" +
                       (list.Checked(row) ? "x" : " "));
    return rows;
}

class Sounds : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        RegDeleteTreeA(HKEY_CURRENT_USER, kAppsKey);
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
        AddEvent(".Default", "SystemStart", "C:\\Media\\start.wav", "Yes");
        AddEvent(".Default", "Exit", "C:\\Media\\exit.wav", "-");
        AddEvent("QmAlpha", "Open", "C:\\Media\\open.wav", "Yes");
        AddEvent("QmAlpha", "Close", "", "yes");
        AddEvent("QmAlpha", "Save", "-", "Yes");
        AddEvent("QmBeta", "Ding", "C:\\Media\\ding.wav", "Yes");
        // The sound pool: a2 is the only sound for "Default", as its second name, which is
        // kept only when the pools are loaded after the schemes were counted.
        media = ScratchFolder();
        const std::vector<std::pair<std::string, std::vector<std::string>>> sounds = {
            {"a1.wav", {"QmAlpha"}}, {"a2.wav", {"QmAlpha", "Default"}}, {"b1.wav", {"QmBeta"}}};
        std::string records;
        for (const auto& [name, schemes] : sounds) {
            WriteFileBytes(media + name, "RIFF not really");
            records += test::Record(name, media, 1, 0, 0, static_cast<int>(schemes.size()), 0, schemes);
        }
        WriteFileBytes(WindowsDir() + "qmfiles.cfg", records);
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kSoundCounter, std::to_string(sounds.size()));
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kAppsKey);
        ResetProgramState();
    }
    // Starts the program and waits until its start-up has listed the schemes and loaded the pools.
    HWND StartProgram() {
        if (!program.Start(ScratchFolder())) return nullptr;
        window = program.WaitForMainWindow();
        if (!window) return nullptr;
        combo = GetDlgItem(window, IDC_SCHEME_COMBO);
        list = GetDlgItem(window, IDC_EVENT_LIST);
        bool ready = WaitUntil([&] {
            return SendMessageA(combo, CB_GETCOUNT, 0, 0) == 3 && !IsWindowEnabled(GetDlgItem(window, IDC_RANDOMIZE_SCHEME));
        }, 15000);
        return ready ? window : nullptr;
    }
    int SchemeIndex(const std::wstring& scheme) {
        return static_cast<int>(SendMessageW(combo, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(scheme.c_str())));
    }
    void SelectScheme(const std::wstring& scheme) {
        int index = SchemeIndex(scheme);
        ASSERT_GE(index, 0);
        SendMessageA(combo, CB_SETCURSEL, index, 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_SCHEME_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    void Press(int button) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, button))); }
    void Exit() {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
    }
    std::set<std::string> Paths(std::initializer_list<const char*> names) {
        std::set<std::string> paths;
        for (const char* name : names) paths.insert(media + name);
        return paths;
    }

    ProgramDriver program;
    HWND window = nullptr, combo = nullptr, list = nullptr;
    std::string media;
};

}  // namespace

TEST_F(Sounds, SelectingASchemeListsItsEventsWithMarksAndCurrentFiles) {
    ASSERT_TRUE(StartProgram());
    EXPECT_GE(SchemeIndex(L"Default"), 0) << "\".Default\" is listed as \"Default\"";
    EXPECT_GE(SchemeIndex(L"QmAlpha"), 0);
    EXPECT_GE(SchemeIndex(L"QmBeta"), 0);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    for (int button : {IDC_ACTIVATE_ALL, IDC_DEACTIVATE_ALL}) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, button)));
    RemoteListView rows(list, program.Process());

    SelectScheme(L"QmAlpha");
    EXPECT_EQ(Rows(rows), (std::vector<std::string>{"Close|No|| ", "Open|Yes|open.wav|x", "Save|Yes||x"}));
    for (int button : {IDC_ACTIVATE_ALL, IDC_DEACTIVATE_ALL, IDC_RANDOMIZE_SCHEME})
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, button)));
    SelectScheme(L"Default");
    EXPECT_EQ(Rows(rows), (std::vector<std::string>{"Exit|No|exit.wav| ", "SystemStart|Yes|start.wav|x"}));
    Exit();
}

TEST_F(Sounds, RandomizingTheSchemeDrawsOnlySoundsListedForIt) {
    ASSERT_TRUE(StartProgram());
    SelectScheme(L"QmAlpha");
    Press(IDC_RANDOMIZE_SCHEME);
    const auto alpha = Paths({"a1.wav", "a2.wav"});
    EXPECT_EQ(alpha.count(Current("QmAlpha", "Open")), 1u) << Current("QmAlpha", "Open");
    EXPECT_EQ(alpha.count(Current("QmAlpha", "Save")), 1u) << Current("QmAlpha", "Save");
    EXPECT_EQ(Current("QmAlpha", "Close"), "") << "an unmarked event keeps its sound";
    EXPECT_EQ(Current(".Default", "SystemStart"), "C:\\Media\\start.wav") << "other schemes are not touched";
    RemoteListView rows(list, program.Process());
    EXPECT_EQ(rows.Text(1, 2), FileNameOf(Current("QmAlpha", "Open")));
    Exit();
}

TEST_F(Sounds, RandomizingAllSchemesDrawsPerSchemeAndSelectsTheSchemeAgain) {
    ASSERT_TRUE(StartProgram());
    SelectScheme(L"QmBeta");
    Press(IDC_RANDOMIZE_SOUNDS);
    EXPECT_EQ(Current(".Default", "SystemStart"), media + "a2.wav");
    EXPECT_EQ(Current(".Default", "Exit"), "C:\\Media\\exit.wav");
    EXPECT_EQ(Paths({"a1.wav", "a2.wav"}).count(Current("QmAlpha", "Open")), 1u) << Current("QmAlpha", "Open");
    EXPECT_EQ(Current("QmBeta", "Ding"), media + "b1.wav");
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), SchemeIndex(L"QmBeta"));
    RemoteListView rows(list, program.Process());
    EXPECT_EQ(Rows(rows), std::vector<std::string>{"Ding|Yes|b1.wav|x"});
    Exit();
}

TEST_F(Sounds, ActivateAllDeactivateAllAndOneClickWriteTheMarkers) {
    ASSERT_TRUE(StartProgram());
    SelectScheme(L"QmAlpha");
    RemoteListView rows(list, program.Process());
    Press(IDC_DEACTIVATE_ALL);
    for (const char* event : {"Open", "Close", "Save"}) EXPECT_EQ(Marker("QmAlpha", event), "No") << event;
    EXPECT_EQ(Rows(rows), (std::vector<std::string>{"Close|No|| ", "Open|No|open.wav| ", "Save|No|| "}));
    Press(IDC_ACTIVATE_ALL);
    for (const char* event : {"Open", "Close", "Save"}) EXPECT_EQ(Marker("QmAlpha", event), "Yes") << event;
    EXPECT_EQ(Rows(rows), (std::vector<std::string>{"Close|Yes||x", "Open|Yes|open.wav|x", "Save|Yes||x"}));
    // Clearing one box rewrites the marker of every row.
    RegDeleteTreeA(HKEY_CURRENT_USER, (EventKey("QmAlpha", "Save") + "\\Active-QM").c_str());
    rows.SetChecked(0, false);
    EXPECT_EQ(Marker("QmAlpha", "Close"), "No");
    EXPECT_EQ(Marker("QmAlpha", "Open"), "Yes");
    EXPECT_EQ(Marker("QmAlpha", "Save"), "Yes");
    EXPECT_EQ(Marker(".Default", "Exit"), "<absent>");
    Exit();
}

}  // namespace qm::e2e
