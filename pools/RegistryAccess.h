#pragma once
// Registry text as the whole program reads and writes it, and the three pool counters.
// The pool file holds no record count; the counters do.
#include <string>

#include "platform/Registry.h"
#include "pools/ProgramKeys.h"  // the counters' keys

namespace qm {

// The text of the first value the key lists (for every key the program writes, its
// default value), up to its first zero byte. Empty when the key cannot be opened, holds no
// value, or holds the text "j", which marks a failed search.
std::string ReadRegistryString(IRegistry& registry, RegistryRoot root, const std::string& subkey);

// Leaves the key holding only its default value, set to `text`, creating it where it is
// missing. The old text is replaced in one step and the key's other values go after it.
// False, with nothing changed, when the key has subkeys (Windows NT would not let it be
// deleted); false when it cannot be created or set.
bool WriteRegistryString(IRegistry& registry, const std::string& subkey, const std::string& text,
                         RegistryRoot root);

// Sets the named string value of an existing key; a missing key is not created. The whole
// text is written, however long (a wallpaper path can be longer than 255 characters).
bool WriteRegistryValue(IRegistry& registry, RegistryRoot root, const std::string& subkey, const std::string& name,
                        const std::string& text);
// Sets the named value of an existing key to the empty string; a missing key stays missing.
void ClearRegistryValue(IRegistry& registry, RegistryRoot root, const std::string& subkey, const std::string& name);

// Text to integer as atoi reads it: leading white space, an optional sign, then digits up
// to the first other character; no digits give 0. Values beyond the range of int are held
// at its limits instead of overflowing.
int TextToInt(const std::string& text);

int GetSoundFileCount(IRegistry& registry);
int GetWallpaperFileCount(IRegistry& registry);
int GetScreenSaverFileCount(IRegistry& registry);
void SetSoundFileCount(IRegistry& registry, int count);
void SetWallpaperFileCount(IRegistry& registry, int count);
void SetScreenSaverFileCount(IRegistry& registry, int count);

}  // namespace qm
