#include "pools/RegistryAccess.h"

#include <climits>

namespace qm {

std::string ReadRegistryString(IRegistry& registry, RegistryRoot root, const std::string& subkey) {
    RegistryValue value;
    if (!registry.EnumValue(root, subkey, 0, value)) return std::string();
    std::string text = value.data.substr(0, value.data.find('\0'));
    return text == "j" ? std::string() : text;
}

bool WriteRegistryString(IRegistry& registry, const std::string& subkey, const std::string& text,
                         RegistryRoot root) {
    // The key ends as if deleted and made anew, holding only its default value, but it never
    // passes through having no value: the old text stays until the new one is set, so a
    // process ended or a call failed on the way leaves the old text or the new one.
    KeyContents before;
    if (!registry.Contents(root, subkey, before))
        return registry.CreateKey(root, subkey) && registry.SetValue(root, subkey, std::string(), text);
    // A key with subkeys could not be deleted (Windows NT refuses): it keeps its contents.
    if (before.subkeys > 0) return false;
    if (!registry.SetValue(root, subkey, std::string(), text)) return false;
    if (before.values == 0) return true;
    KeyContents after;
    if (!registry.Contents(root, subkey, after)) return false;
    if (after.values <= 1) return true;  // the default value alone
    // Every other value goes; each pass over the listing deletes one, so the loop is bounded.
    RegistryValue value;
    unsigned index = 0;
    for (unsigned pass = 0; pass < after.values && registry.EnumValue(root, subkey, index, value); ++pass) {
        if (value.name.empty()) {
            ++index;
            continue;
        }
        if (!registry.DeleteValue(root, subkey, value.name)) return false;
    }
    return true;
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
