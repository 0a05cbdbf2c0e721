#pragma once
// What a test of the display randomizers watches: a main window of its own that logs what
// is shown in it, and a registry and a system that log the settings the randomizers give
// Windows, all into one log so that their order can be checked. The desktop is asked to
// show nothing for real; the rest goes through to the platform under test.
#include <string>
#include <vector>

#include "platform/ProxyRegistry.h"
#include "platform/System.h"
#include "prefs/Preferences.h"
#include "randomize/DisplaySettings.h"

namespace qm::test {

using EventLog = std::vector<std::string>;

class RecordingView : public IDisplayView {
public:
    RecordingView(EventLog& log, const std::string& flags) : m_log(log), m_flags(flags) { ApplySwitches(); }
    std::string ShownName(DisplayItem item) override { return names[Index(item)]; }
    void SetShownName(DisplayItem item, const std::string& name) override {
        names[Index(item)] = name;
        m_log.push_back("name " + name);
    }
    void ApplySwitches() override { m_log.push_back("switches " + m_flags); }
    void ShowMessage(const std::string& text) override { m_log.push_back("message " + text); }

    std::string names[2];

private:
    static int Index(DisplayItem item) { return static_cast<int>(item); }
    EventLog& m_log;
    const std::string& m_flags;
};

class RecordingRegistry : public ProxyRegistry {
public:
    RecordingRegistry(IRegistry& inner, EventLog& log) : ProxyRegistry(inner), m_log(log) {}
    bool SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                  const std::string& text) override {
        m_log.push_back("set " + name + "=" + text);
        return m_inner.SetValue(root, path, name, text);
    }

private:
    EventLog& m_log;
};

class RecordingSystem : public ISystem {
public:
    RecordingSystem(ISystem& inner, EventLog& log) : m_inner(inner), m_log(log) {}
    bool WindowsDirectory(std::string& out) override { return m_inner.WindowsDirectory(out); }
    bool CurrentDirectory(std::string& out) override { return m_inner.CurrentDirectory(out); }
    bool IsWindowsNT() override { return windowsNT; }
    std::int64_t NowSeconds() override { return m_inner.NowSeconds(); }
    std::string WideToAnsi(const std::u16string& text) override { return m_inner.WideToAnsi(text); }
    bool ShowWallpaper(const std::string& path) override {
        m_log.push_back("show " + path);
        return true;
    }
    bool ShellFolderPath(ShellFolder folder, std::string& out) override { return m_inner.ShellFolderPath(folder, out); }
    void FailCriticalErrorsQuietly() override { m_inner.FailCriticalErrorsQuietly(); }
    bool PrimaryScreenSize(int& width, int& height) override { return m_inner.PrimaryScreenSize(width, height); }
    std::uint32_t DesktopColour() override { return m_inner.DesktopColour(); }

    bool windowsNT = true;

private:
    ISystem& m_inner;
    EventLog& m_log;
};

}  // namespace qm::test
