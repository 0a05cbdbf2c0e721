#pragma once
// The built program's resources, read from its file without running it.
#include <windows.h>

#include <string>

#include "e2e/ProgramDriver.h"

namespace qm::e2e {

class ProgramImage {
public:
    ProgramImage() : m_module(LoadLibraryExA(g_programPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ProgramImage() {
        if (m_module) FreeLibrary(m_module);
    }
    ProgramImage(const ProgramImage&) = delete;
    ProgramImage& operator=(const ProgramImage&) = delete;
    HMODULE Module() const { return m_module; }
    std::string Resource(LPCSTR type, LPCSTR name) const {
        HRSRC found = FindResourceA(m_module, name, type);
        if (!found) return {};
        HGLOBAL data = LoadResource(m_module, found);
        return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(m_module, found));
    }
    // A bitmap's size in pixels from its header; empty when the program has no such bitmap.
    SIZE BitmapSize(int id) const {
        const std::string bytes = Resource(MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(id));  // RT_BITMAP
        if (bytes.size() < sizeof(BITMAPINFOHEADER)) return {};
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data());
        return {header->biWidth, header->biHeight < 0 ? -header->biHeight : header->biHeight};
    }

private:
    HMODULE m_module;
};

}  // namespace qm::e2e
