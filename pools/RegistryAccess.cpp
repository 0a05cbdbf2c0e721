#include "pools/RegistryAccess.h"

#include <climits>

namespace qm {

const char kSoundCounterKey[] = "Software\\Corvalith\\Quill Mere\\2.0\\Sound Files";
const char kWallpaperCounterKey[] = "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files";
const char kScreenSaverCounterKey[] = "Software\\Corvalith\\Quill Mere\\2.0\\ScreenSaver Files";

std::string ReadRegistryString(IRegistry& registry, RegistryRoot root, const std::string& subkey) {
    RegistryValue value;
    if (!registry.EnumValue(root, subkey, 0, value)) return std::string();
    std::string text = value.data.substr(0, value.data.find('\0'));
    return text == "j" ? std::string() : text;
}

bool WriteRegistryString(IRegistry& registry, const std::string& subkey, const std::string& text,
                         RegistryRoot root) {
    // An old key goes first, with every value it holds; a key that cannot go (Windows NT
    // refuses one with subkeys) keeps its contents and the write fails.
    if (!registry.DeleteKey(root, subkey)) return false;
    if (!registry.CreateKey(root, subkey)) return false;
    return registry.SetValue(root, subkey, std::string(), text);
}

bool WriteRegistryValue(IRegistry& registry, RegistryRoot root, const std::string& subkey, const std::string& name,
                        const std::string& text) {
    // The backends set values of existing keys only, and take the text's whole length.
    return registry.SetValue(root, subkey, name, text);
}

void ClearRegistryValue(IRegistry& registry, RegistryRoot root, const std::string& subkey, const std::string& name) {
    WriteRegistryValue(registry, root, subkey, name, std::string());
}

int TextToInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

static int ReadCounter(IRegistry& registry, const char* key) {
    return TextToInt(ReadRegistryString(registry, RegistryRoot::LocalMachine, key));
}

static void WriteCounter(IRegistry& registry, const char* key, int count) {
    WriteRegistryString(registry, key, std::to_string(count), RegistryRoot::LocalMachine);
}

int GetSoundFileCount(IRegistry& registry) { return ReadCounter(registry, kSoundCounterKey); }
int GetWallpaperFileCount(IRegistry& registry) { return ReadCounter(registry, kWallpaperCounterKey); }
int GetScreenSaverFileCount(IRegistry& registry) { return ReadCounter(registry, kScreenSaverCounterKey); }
void SetSoundFileCount(IRegistry& registry, int count) { WriteCounter(registry, kSoundCounterKey, count); }
void SetWallpaperFileCount(IRegistry& registry, int count) { WriteCounter(registry, kWallpaperCounterKey, count); }
void SetScreenSaverFileCount(IRegistry& registry, int count) { WriteCounter(registry, kScreenSaverCounterKey, count); }

}  // namespace qm
