#pragma once
// The names of what the program stores: its registry keys and its files. Other programs
// and stored data rely on every one of them (the installer, the desktop's settings, the
// per-user copies), so they are spelled here once.
namespace qm {

extern const char kCompanyKeyPath[];    // "Software\Corvalith", above the program's keys
extern const char kProgramKeyPath[];    // "Software\Corvalith\Quill Mere", the program's own keys
extern const char kVersionKey[];        // "Software\Corvalith\Quill Mere\2.0"
extern const char kPreferencesKey[];    // the display switches and the preference string
extern const char kPerUserNoticeKey[];  // remembers, per user, that the per-user notice was shown
extern const char kInstalledPictureKey[];  // the picture the installed wallpaper copy was made from
extern const char kSoundCounterKey[];      // the pool counters, one key each
extern const char kWallpaperCounterKey[];
extern const char kScreenSaverCounterKey[];

extern const char kPoolFileName[];              // "qmfiles.cfg"
extern const char kPoolTempFileName[];          // "tmpqm.tmp", beside the pool file
extern const char kInstalledWallpaperName[];    // "Quill Mere.bmp"
extern const char kInstalledScreenSaverName[];  // "Quill Mere.scr"

}  // namespace qm
