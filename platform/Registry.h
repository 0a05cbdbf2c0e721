#pragma once
// The registry as the program uses it: keys below two roots, string values, and a
// key's values listed in a stable order. The Win32 backend maps these verbs onto the
// ANSI registry calls; tests use an in-memory store that behaves the same way.
#include <string>

namespace qm {

enum class RegistryRoot { LocalMachine, CurrentUser };

// What a key holds, without reading it.
struct KeyContents {
    unsigned subkeys = 0;
    unsigned values = 0;  // the default value included, when it is set
};

struct RegistryValue {
    std::string name;   // empty for the key's default (unnamed) value
    std::string data;   // the raw bytes of the value, as stored
};

class IRegistry {
public:
    virtual ~IRegistry() = default;

    virtual bool KeyExists(RegistryRoot root, const std::string& path) = 0;
    // The value at `index` in the key's own listing order; false past the last value
    // or when the key cannot be opened for reading.
    virtual bool EnumValue(RegistryRoot root, const std::string& path, unsigned index,
                           RegistryValue& out) = 0;
    // The name of the subkey at `index`; false past the last one.
    virtual bool EnumSubkey(RegistryRoot root, const std::string& path, unsigned index,
                            std::string& name) = 0;
    // Deletes the key with all its values; true when the key is gone afterwards, also when
    // it was never there. Like Windows NT, refuses a key that still has subkeys and then
    // changes nothing.
    virtual bool DeleteKey(RegistryRoot root, const std::string& path) = 0;
    // Creates the key and any missing keys above it; true when it exists afterwards.
    virtual bool CreateKey(RegistryRoot root, const std::string& path) = 0;
    // The data of the named value (empty name: the default value); false when the key or
    // the value is missing or too large to read.
    virtual bool ReadValue(RegistryRoot root, const std::string& path, const std::string& name,
                           std::string& data) = 0;
    // Sets a string value (REG_SZ) of an existing key; an empty name sets the default value.
    virtual bool SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                          const std::string& text) = 0;
    // Whether the key opens for setting values and creating subkeys; false when it is missing
    // or this user may only read it.
    virtual bool KeyWritable(RegistryRoot root, const std::string& path) = 0;
    // How many subkeys and values the key holds; false when it cannot be opened.
    virtual bool Contents(RegistryRoot root, const std::string& path, KeyContents& out) = 0;
    // Deletes one value of the key (empty name: the default value); true when it is gone
    // afterwards, also when it was never there.
    virtual bool DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) = 0;
};

}  // namespace qm
