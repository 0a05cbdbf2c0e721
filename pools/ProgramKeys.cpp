#include "pools/ProgramKeys.h"

namespace qm {

const char kCompanyKeyPath[] = "Software\\Corvalith";
const char kProgramKeyPath[] = "Software\\Corvalith\\Quill Mere";
const char kVersionKey[] = "Software\\Corvalith\\Quill Mere\\2.0";
// Spelled in capitals as the program always wrote it; the registry ignores letter case.
const char kPreferencesKey[] = "SOFTWARE\\Corvalith\\Quill Mere\\2.0\\Preferences";
const char kPerUserNoticeKey[] = "Software\\Corvalith\\Quill Mere\\2.0\\Per-User Notice";
const char kInstalledPictureKey[] = "Software\\Corvalith\\Quill Mere\\2.0\\Installed Picture";
const char kSoundCounterKey[] = "Software\\Corvalith\\Quill Mere\\2.0\\Sound Files";
const char kWallpaperCounterKey[] = "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files";
const char kScreenSaverCounterKey[] = "Software\\Corvalith\\Quill Mere\\2.0\\ScreenSaver Files";

const char kPoolFileName[] = "qmfiles.cfg";
const char kPoolTempFileName[] = "tmpqm.tmp";
const char kInstalledWallpaperName[] = "Quill Mere.bmp";
const char kInstalledScreenSaverName[] = "Quill Mere.scr";

}  // namespace qm
