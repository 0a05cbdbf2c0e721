#pragma once
// Pictures made and read back by the tests under Wine: JPEG, PNG and GIF files written with
// the Windows Imaging Component's own encoders, an EXIF orientation put into a JPEG, and a
// 24-bit bitmap file read back pixel by pixel. WIC needs COM initialised (ComScope).
#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace qm::test {

struct Pixel {
    std::uint8_t b, g, r;
    bool operator==(const Pixel& o) const { return b == o.b && g == o.g && r == o.r; }
};

// COM initialised for the thread while it lives, as WIC needs.
struct ComScope {
    ComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComScope() { CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
};

// A COLORREF (0x00BBGGRR) as a pixel.
inline Pixel PixelOf(COLORREF colour) { return Pixel{GetBValue(colour), GetGValue(colour), GetRValue(colour)}; }

namespace detail {

// One frame to encode: its pixels in `format`, rows of `stride` bytes.
struct FrameToEncode {
    WICPixelFormatGUID format;
    UINT stride;
    std::vector<BYTE> pixels;
};

// Writes the frames through WIC into one file of the container; `palette` (0xAARRGGBB) is set
// on each frame when given, as indexed formats need.
inline bool EncodeFrames(const std::string& path, const GUID& container, int width, int height,
                         std::vector<FrameToEncode> frames, const std::vector<WICColor>& palette = {}) {
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return false;
    std::wstring wide(path.begin(), path.end());
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICPalette* colours = nullptr;
    bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE)) &&
              SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
              SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache));
    if (ok && !palette.empty())
        ok = SUCCEEDED(factory->CreatePalette(&colours)) &&
             SUCCEEDED(colours->InitializeCustom(const_cast<WICColor*>(palette.data()), static_cast<UINT>(palette.size())));
    for (FrameToEncode& each : frames) {
        IWICBitmapFrameEncode* frame = nullptr;
        IPropertyBag2* props = nullptr;
        ok = ok && SUCCEEDED(encoder->CreateNewFrame(&frame, &props)) && SUCCEEDED(frame->Initialize(props)) &&
             SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&each.format)) &&
             (!colours || SUCCEEDED(frame->SetPalette(colours))) &&
             SUCCEEDED(frame->WritePixels(height, each.stride, static_cast<UINT>(each.pixels.size()), each.pixels.data())) &&
             SUCCEEDED(frame->Commit());
        if (props) props->Release();
        if (frame) frame->Release();
    }
    ok = ok && SUCCEEDED(encoder->Commit());
    for (IUnknown* object : {static_cast<IUnknown*>(colours), static_cast<IUnknown*>(encoder),
                             static_cast<IUnknown*>(stream), static_cast<IUnknown*>(factory)})
        if (object) object->Release();
    return ok;
}

}  // namespace detail

// Writes a picture through WIC: 24-bit BGR for JPEG, 32-bit BGRA for PNG; `paint` gives
// each pixel's BGRA.
template <typename Paint>
bool Encode(const std::string& path, const GUID& container, int width, int height, bool alpha, Paint paint) {
    const int bpp = alpha ? 4 : 3;
    detail::FrameToEncode frame{alpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR,
                                static_cast<UINT>(width * bpp),
                                std::vector<BYTE>(static_cast<std::size_t>(width) * height * bpp)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t bgra = paint(x, y);
            BYTE* p = &frame.pixels[(static_cast<std::size_t>(y) * width + x) * bpp];
            for (int c = 0; c < bpp; ++c) p[c] = static_cast<BYTE>(bgra >> (8 * c));
        }
    return detail::EncodeFrames(path, container, width, height, {frame});
}

// An animated GIF whose frames are each filled with one colour (0x00RRGGBB), in order.
inline bool EncodeAnimatedGif(const std::string& path, int width, int height, const std::vector<WICColor>& colours) {
    std::vector<detail::FrameToEncode> frames;
    std::vector<WICColor> palette;
    for (WICColor colour : colours) {
        frames.push_back({GUID_WICPixelFormat8bppIndexed, static_cast<UINT>(width),
                          std::vector<BYTE>(static_cast<std::size_t>(width) * height, static_cast<BYTE>(palette.size()))});
        palette.push_back(0xFF000000u | colour);
    }
    return detail::EncodeFrames(path, GUID_ContainerFormatGif, width, height, frames, palette);
}

// An EXIF segment of one entry, the orientation, put right after the JPEG's start marker.
inline std::string WithOrientation(const std::string& jpeg, int orientation) {
    const std::string app1 = std::string("\xFF\xE1\x00\x22" "Exif\0\0" "MM\0\x2A\0\0\0\x08" "\0\x01" "\x01\x12\0\x03\0\0\0\x01",
                                         4 + 6 + 8 + 2 + 8) +
                             std::string{'\0', static_cast<char>(orientation), '\0', '\0', '\0', '\0', '\0', '\0'};
    return jpeg.substr(0, 2) + app1 + jpeg.substr(2);
}

// A 24-bit bitmap file read back: its size and its pixels, top row first.
struct Bitmap {
    int width = 0, height = 0, bits = 0;
    std::string bytes;
    Pixel At(int x, int y) const {
        const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
        const std::size_t at = 54 + static_cast<std::size_t>(height - 1 - y) * stride + static_cast<std::size_t>(x) * 3;
        if (x < 0 || y < 0 || x >= width || y >= height || at + 3 > bytes.size()) return Pixel{1, 2, 3};
        return Pixel{static_cast<std::uint8_t>(bytes[at]), static_cast<std::uint8_t>(bytes[at + 1]),
                     static_cast<std::uint8_t>(bytes[at + 2])};
    }
};
inline Bitmap ReadBitmap(const std::string& bytes) {
    Bitmap bitmap;
    bitmap.bytes = bytes;
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) return bitmap;
    auto i32 = [&](std::size_t at) {
        return static_cast<int>(static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8 |
                                static_cast<std::uint8_t>(bytes[at + 2]) << 16 |
                                static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 3])) << 24);
    };
    bitmap.width = i32(18);
    bitmap.height = i32(22);
    bitmap.bits = i32(28) & 0xFFFF;
    return bitmap;
}

inline bool Near(const Pixel& a, const Pixel& b) {  // JPEG is lossy
    return std::abs(a.b - b.b) < 40 && std::abs(a.g - b.g) < 40 && std::abs(a.r - b.r) < 40;
}

const Pixel kRed{0, 0, 255}, kWhite{255, 255, 255};

}  // namespace qm::test
