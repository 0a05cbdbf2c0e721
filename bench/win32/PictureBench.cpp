// Installing a 24-megapixel photo as the wallpaper, under Wine: the program's InstallPicture
// (decode, turn upright, lay over the desktop colour, scale to a 1024x768 screen, write the
// 24-bit bitmap and swap it in) beside the floor any install has to pay, the Imaging
// Component decoding the frame and Fant-scaling it to 1024x768 into memory. Each is timed
// over several runs, and each runs in a child of its own so that its peak private memory is
// its own; a third child installs a picture whose header claims 30000x30000, which must be
// refused before anything is decoded. Figures, not a test.
//   qm_bench_picture.exe            makes the pictures and runs the children
//   qm_bench_picture.exe --floor|--install|--huge PICTURE RESULTFILE   one child
#include <windows.h>
#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/Win32Platform.h"
#include "randomize/PictureInstall.h"
#include "win32/PictureFiles.h"

using namespace qm;

namespace {

const int kRuns = 5;
const int kPhotoWidth = 6000, kPhotoHeight = 4000;
const int kScreenWidth = 1024, kScreenHeight = 768;
const unsigned kHugeSide = 30000;

double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}

double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0 : ms[ms.size() / 2];
}

// The peak private memory, and the peak working set beside it: Wine takes the private figures
// from the Linux process's swap use, so under Wine the working set is the one that moves.
struct PeakMemory {
    double privateMb = 0, workingSetMb = 0;
};
PeakMemory PeakOfThisProcess() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return {counters.PeakPagefileUsage / (1024.0 * 1024.0), counters.PeakWorkingSetSize / (1024.0 * 1024.0)};
}

// The primary screen as the figures assume it, whatever the prefix's desktop is.
class ScreenOf1024x768 : public Win32System {
public:
    bool PrimaryScreenSize(int& width, int& height) override {
        width = kScreenWidth;
        height = kScreenHeight;
        return true;
    }
};

class NoView : public IDisplayView {
public:
    std::string ShownName(DisplayItem) override { return std::string(); }
    void SetShownName(DisplayItem, const std::string&) override {}
    void ApplySwitches() override {}
    void ShowMessage(const std::string&) override {}
};

// The floor: the frame decoded and Fant-scaled to the screen's size into memory.
bool DecodeAndScale(IWICImagingFactory* factory, const std::wstring& path, std::vector<BYTE>& pixels) {
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    IWICBitmapScaler* scaler = nullptr;
    const UINT stride = kScreenWidth * 4;
    pixels.assign(static_cast<std::size_t>(stride) * kScreenHeight, 0);
    const bool ok =
        SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(factory->CreateBitmapScaler(&scaler)) &&
        SUCCEEDED(scaler->Initialize(converter, kScreenWidth, kScreenHeight, WICBitmapInterpolationModeFant)) &&
        SUCCEEDED(scaler->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data()));
    for (IUnknown* object : {static_cast<IUnknown*>(scaler), static_cast<IUnknown*>(converter),
                             static_cast<IUnknown*>(frame), static_cast<IUnknown*>(decoder)})
        if (object) object->Release();
    return ok;
}

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A small PNG whose header then claims kHugeSide x kHugeSide, its checksum made to match.
bool MakeHugePng(const std::string& path) {
    if (!test::Encode(path, GUID_ContainerFormatPng, 4, 4, false, [](int, int) { return 0x00808080u; })) return false;
    std::string png = ReadAll(path);
    if (png.size() < 33 || png.compare(12, 4, "IHDR") != 0) return false;
    auto put32 = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) png[at + i] = static_cast<char>(value >> (24 - 8 * i));
    };
    put32(16, kHugeSide);
    put32(20, kHugeSide);
    put32(29, Crc32(png.substr(12, 17)));
    WriteAll(path, png);
    return true;
}

// One child's work: the runs timed, written to `resultFile` as "ok median min max private set".
int RunChild(const std::string& what, const std::string& picture, const std::string& resultFile) {
    test::ComScope com;
    std::vector<double> ms;
    bool ok = true;
    const int runs = what == "--huge" ? 1 : kRuns;
    if (what == "--floor") {
        IWICImagingFactory* factory = nullptr;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(&factory))))
            return 2;
        const std::wstring wide(picture.begin(), picture.end());
        for (int run = 0; run < runs; ++run) {
            std::vector<BYTE> pixels;
            const double start = NowMs();
            ok = DecodeAndScale(factory, wide, pixels) && ok;
            ms.push_back(NowMs() - start);
        }
        factory->Release();
    } else {
        Win32Registry registry;
        Win32FileSystem files;
        ScreenOf1024x768 system;
        Win32PictureDecoder decoder;
        CRandom random;
        CPools pools;
        std::string flags = "ny";
        NoView view;
        const std::string folder = picture.substr(0, picture.rfind('\\') + 1);
        DisplayContext display{registry, files, system, random, pools, flags, view, folder, true, kDesktopKey, {}, &decoder};
        for (int run = 0; run < runs; ++run) {
            const double start = NowMs();
            const bool installed = InstallPicture(display, picture, folder + "Quill Mere.bmp", true);
            ms.push_back(NowMs() - start);
            ok = ok && installed == (what == "--install");  // the huge picture must be refused
        }
        ForgetConvertedPicture(registry);
    }
    std::ofstream out(resultFile);
    out << (ok ? 1 : 0) << ' ' << Median(ms) << ' ' << *std::min_element(ms.begin(), ms.end()) << ' '
        << *std::max_element(ms.begin(), ms.end()) << ' ' << PeakOfThisProcess().privateMb << ' '
        << PeakOfThisProcess().workingSetMb << '\n';
    return ok ? 0 : 1;
}

struct Figures {
    bool ran = false, ok = false;
    double median = 0, min = 0, max = 0, peakMb = 0, peakSetMb = 0;
};

Figures RunInChild(const std::string& what, const std::string& picture, const std::string& folder) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string resultFile = folder + "result" + what.substr(2) + ".txt";
    DeleteFileA(resultFile.c_str());
    std::string commandLine = "\"" + std::string(self) + "\" " + what + " \"" + picture + "\" \"" + resultFile + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    Figures figures;
    if (!CreateProcessA(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return figures;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    std::ifstream in(resultFile);
    int ok = 0;
    figures.ran = static_cast<bool>(in >> ok >> figures.median >> figures.min >> figures.max >> figures.peakMb >> figures.peakSetMb);
    figures.ok = ok == 1;
    DeleteFileA(resultFile.c_str());
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4) return RunChild(argv[1], argv[2], argv[3]);

    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "qm-bench-picture\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string photo = folder + "photo-24mp.jpg", huge = folder + "huge.png";
    {
        test::ComScope com;
        const double start = NowMs();
        // A pattern with detail everywhere, so that the JPEG is not trivially small.
        if (!test::Encode(photo, GUID_ContainerFormatJpeg, kPhotoWidth, kPhotoHeight, false, [](int x, int y) {
                return static_cast<std::uint32_t>((x * 7) & 0xFF) | static_cast<std::uint32_t>((y * 5) & 0xFF) << 8 |
                       static_cast<std::uint32_t>((x ^ y) & 0xFF) << 16;
            }) ||
            !MakeHugePng(huge)) {
            std::fprintf(stderr, "the pictures could not be made with the Imaging Component\n");
            return 1;
        }
        std::printf("Made a %dx%d JPEG (%.1f MB) in %.0f ms\n", kPhotoWidth, kPhotoHeight,
                    ReadAll(photo).size() / (1024.0 * 1024.0), NowMs() - start);
    }

    const Figures floor = RunInChild("--floor", photo, folder);
    const Figures install = RunInChild("--install", photo, folder);
    const Figures refused = RunInChild("--huge", huge, folder);
    if (!floor.ran || !install.ran || !refused.ran) {
        std::fprintf(stderr, "a child run gave no figures\n");
        return 1;
    }
    const double timeRatio = install.median / std::max(floor.median, 0.001);
    const double memoryRatio = install.peakMb / std::max(floor.peakMb, 0.001);
    const double setRatio = install.peakSetMb / std::max(floor.peakSetMb, 0.001);
    std::printf("Installing a %dx%d JPEG as a centred wallpaper on a %dx%d screen, under Wine (%d runs each):\n",
                kPhotoWidth, kPhotoHeight, kScreenWidth, kScreenHeight, kRuns);
    for (const auto& [label, figures] : {std::make_pair("floor, WIC decode + Fant scale into memory:", floor),
                                          std::make_pair("InstallPicture:                            ", install)})
        std::printf("  %s median %7.0f ms (%.0f-%.0f), peak private %6.1f MB, peak working set %6.1f MB%s\n", label,
                    figures.median, figures.min, figures.max, figures.peakMb, figures.peakSetMb,
                    figures.ok ? "" : "  FAILED");
    std::printf("  time ratio %.2f, target <= 1.5: %s; peak private ratio %.2f (working set %.2f), target <= 1.5: %s\n",
                timeRatio, timeRatio <= 1.5 ? "met" : "MISSED", memoryRatio, setRatio,
                std::max(memoryRatio, setRatio) <= 1.5 ? "met" : "MISSED");
    std::printf("  a PNG whose header claims %ux%u: %s in %.1f ms, peak private %.1f MB, peak working set %.1f MB\n",
                kHugeSide, kHugeSide, refused.ok ? "refused" : "NOT REFUSED", refused.median, refused.peakMb,
                refused.peakSetMb);
    DeleteFileA(photo.c_str());
    DeleteFileA(huge.c_str());
    DeleteFileA((folder + "Quill Mere.bmp").c_str());
    RemoveDirectoryA(folder.c_str());
    return floor.ok && install.ok && refused.ok ? 0 : 1;
}
