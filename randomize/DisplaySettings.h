#pragma once
// What the wallpaper and the screen-saver randomizers share: the window they show their
// state in, everything they work on, and the command that runs both.
#include <string>

#include "platform/FileSystem.h"
#include "platform/Pictures.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "pools/Pools.h"
#include "pools/ProgramKeys.h"  // the installed copies' names
#include "randomize/Random.h"

namespace qm {

extern const char kDesktopKey[];  // "Control Panel\Desktop", below HKEY_CURRENT_USER

// The two display options, by their position in the display switches.
enum class DisplayItem { ScreenSaver = 0, Wallpaper = 1 };

// The main window as the randomizers see it: a name field per option (its text is the name
// of the file installed last), the switch controls, and the message box.
class IDisplayView {
public:
    virtual ~IDisplayView() = default;
    virtual std::string ShownName(DisplayItem item) = 0;
    // The name field is enabled exactly while the option is on.
    virtual bool NameEnabled(DisplayItem item) = 0;
    virtual void SetShownName(DisplayItem item, const std::string& name) = 0;
    // Brings the check boxes, name fields and button faces in line with the switches.
    virtual void ApplySwitches() = 0;
    // A modal message box; returns when the user has closed it.
    virtual void ShowMessage(const std::string& text) = 0;
};

struct DisplayContext {
    IRegistry& registry;
    IFileSystem& files;
    ISystem& system;
    CRandom& random;
    const CPools& pools;
    std::string& displayFlags;  // screen saver then wallpaper, 'y' for on
    IDisplayView& view;
    std::string windowsDir;     // ends in a backslash
    bool unattended = false;    // a scheduled run: no message box, no switch turned off
    std::string desktopKey = kDesktopKey;
    // The user's own folder for the installed copies when the machine-wide places refuse
    // them (ends in a backslash), else empty. Windows is then told the copies' full names.
    std::string perUserFolder;
    // Decodes pictures other than bitmaps; none (or one that is not available) leaves
    // bitmaps alone usable.
    IPictureDecoder* pictures = nullptr;
};

// The installed copies: "Quill Mere.bmp" in the Windows directory, "Quill Mere.scr" in the
// system directory ("system32\" on Windows NT, "system\" otherwise); both in the user's
// own folder instead where that is in use.
std::string InstalledWallpaperTarget(const DisplayContext& display);
std::string InstalledScreenSaverTarget(const DisplayContext& display);
std::string SystemDirectory(const DisplayContext& display);

// Shows a message box, except in a scheduled run, which never shows one.
void TellUser(DisplayContext& display, const std::string& text);

// "Couldn't copy" the file, told as TellUser tells.
void TellCopyFailed(DisplayContext& display, const std::string& source);

// Copies the drawn pool file over the installed copy, which then holds the old file or the
// new one whole, never part of one. A copy that fails is told to the user
// (not in a scheduled run) and ends the randomization, so that nothing claims a file that
// was never installed.
bool InstallCopy(DisplayContext& display, const std::string& source, const std::string& target);

// The wallpaper, then the screen saver; each only while its option is on.
void RandomizeDisplaySettings(DisplayContext& display);

}  // namespace qm
