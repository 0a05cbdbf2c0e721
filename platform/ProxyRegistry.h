#pragma once
// A registry that hands every call to another one; derive from it to change or watch one
// verb and keep the rest (the settings' places, the tests' recorders, the benchmarks' timers).
#include "platform/Registry.h"

namespace qm {

class ProxyRegistry : public IRegistry {
public:
    explicit ProxyRegistry(IRegistry& inner) : m_inner(inner) {}

    bool KeyExists(RegistryRoot root, const std::string& path) override { return m_inner.KeyExists(root, path); }
    bool EnumValue(RegistryRoot root, const std::string& path, unsigned index, RegistryValue& out) override {
        return m_inner.EnumValue(root, path, index, out);
    }
    bool EnumSubkey(RegistryRoot root, const std::string& path, unsigned index, std::string& name) override {
        return m_inner.EnumSubkey(root, path, index, name);
    }
    bool DeleteKey(RegistryRoot root, const std::string& path) override { return m_inner.DeleteKey(root, path); }
    bool CreateKey(RegistryRoot root, const std::string& path) override { return m_inner.CreateKey(root, path); }
    bool ReadValue(RegistryRoot root, const std::string& path, const std::string& name, std::string& data) override {
        return m_inner.ReadValue(root, path, name, data);
    }
    bool SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                  const std::string& text) override {
        return m_inner.SetValue(root, path, name, text);
    }
    bool KeyWritable(RegistryRoot root, const std::string& path) override { return m_inner.KeyWritable(root, path); }
    bool Contents(RegistryRoot root, const std::string& path, KeyContents& out) override {
        return m_inner.Contents(root, path, out);
    }
    bool DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override {
        return m_inner.DeleteValue(root, path, name);
    }

protected:
    IRegistry& m_inner;
};

}  // namespace qm
