#pragma once
// The platform interfaces implemented with the ANSI Win32 calls.
#include <memory>

#include "platform/FileSystem.h"
#include "platform/Pictures.h"
#include "platform/Registry.h"
#include "platform/System.h"

namespace qm {

class Win32Registry : public IRegistry {
public:
    // Values larger than this read as absent rather than being allocated.
    static constexpr unsigned long kMaxValueBytes = 1024 * 1024;

    Win32Registry();
    ~Win32Registry() override;

    bool KeyExists(RegistryRoot root, const std::string& path) override;
    bool EnumValue(RegistryRoot root, const std::string& path, unsigned index,
                   RegistryValue& out) override;
    bool EnumSubkey(RegistryRoot root, const std::string& path, unsigned index,
                    std::string& name) override;
    bool DeleteKey(RegistryRoot root, const std::string& path) override;
    bool CreateKey(RegistryRoot root, const std::string& path) override;
    bool ReadValue(RegistryRoot root, const std::string& path, const std::string& name,
                   std::string& data) override;
    bool SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                  const std::string& text) override;
    bool KeyWritable(RegistryRoot root, const std::string& path) override;
    bool Contents(RegistryRoot root, const std::string& path, KeyContents& out) override;
    bool DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override;

private:
    struct OpenKeys;  // the keys held open between calls, and their lock
    std::unique_ptr<OpenKeys> m_open;
};

class Win32FileSystem : public IFileSystem {
public:
    void Search(const std::string& pattern,
                const std::function<bool(const FoundEntry&)>& visit) override;
    std::unique_ptr<IReadStream> OpenRead(const std::string& path) override;
    std::unique_ptr<IWriteStream> OpenWrite(const std::string& path, WriteMode mode) override;
    bool SameName(const std::string& a, const std::string& b) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Delete(const std::string& path) override;
    bool MoveReplacing(const std::string& from, const std::string& to) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    WriteAccess ProbeWrite(const std::string& path) override;
    bool ShortPath(const std::string& path, std::string& out) override;
    std::uint32_t LogicalDrives() override;
    DriveKind KindOfDrive(const std::string& root) override;
};

class Win32System : public ISystem {
public:
    bool WindowsDirectory(std::string& out) override;
    bool CurrentDirectory(std::string& out) override;
    bool IsWindowsNT() override;
    std::int64_t NowSeconds() override;
    std::string WideToAnsi(const std::u16string& text) override;
    bool ShowWallpaper(const std::string& path) override;
    bool ShellFolderPath(ShellFolder folder, std::string& out) override;
    void FailCriticalErrorsQuietly() override;
    bool PrimaryScreenSize(int& width, int& height) override;
    std::uint32_t DesktopColour() override;
};

class Win32PictureDecoder : public IPictureDecoder {
public:
    Win32PictureDecoder() = default;
    ~Win32PictureDecoder() override;
    Win32PictureDecoder(const Win32PictureDecoder&) = delete;
    Win32PictureDecoder& operator=(const Win32PictureDecoder&) = delete;

    bool Available() override;
    bool Decode(const std::string& path, const SizeChoice& choose, std::vector<std::uint8_t>& bgra) override;

private:
    void* Factory();  // the IWICImagingFactory, or nullptr where it cannot be created
    void* m_factory = nullptr;
    bool m_tried = false;
    bool m_comStarted = false;
};

}  // namespace qm
