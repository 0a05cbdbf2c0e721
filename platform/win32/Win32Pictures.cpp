#include <windows.h>
#include <wincodec.h>

#include "platform/win32/Win32Platform.h"

namespace qm {

namespace {

// Releases a COM interface at the end of its scope.
template <typename T>
struct ComRef {
    T* p = nullptr;
    ~ComRef() {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

std::wstring Wide(const std::string& path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

}  // namespace

Win32PictureDecoder::~Win32PictureDecoder() {
    if (m_factory) static_cast<IWICImagingFactory*>(m_factory)->Release();
    if (m_comStarted) CoUninitialize();
}

// Created on first use, on the thread that uses it (the user-interface thread), so that a
// start that never meets a picture never loads the component.
void* Win32PictureDecoder::Factory() {
    if (m_tried) return m_factory;
    m_tried = true;
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_comStarted = started == S_OK || started == S_FALSE;
    IWICImagingFactory* factory = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&factory))))
        m_factory = factory;
    return m_factory;
}

bool Win32PictureDecoder::Available() { return Factory() != nullptr; }

// The frame goes to 32-bit BGRA first: the scaler refuses the indexed frames of a GIF and
// some TIFF formats, and transparency is kept for the caller to lay over the desktop colour.
// The file is opened once: opening a JPEG costs about as much as decoding it under Wine.
bool Win32PictureDecoder::Decode(const std::string& path, const SizeChoice& choose, std::vector<std::uint8_t>& bgra) {
    auto* factory = static_cast<IWICImagingFactory*>(Factory());
    if (!factory) return false;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    UINT w = 0, h = 0;
    int width = 0, height = 0;
    if (FAILED(factory->CreateDecoderFromFilename(Wide(path).c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&w, &h)) || w == 0 || h == 0 ||
        w > 0x7FFFFFFF || h > 0x7FFFFFFF || !choose(static_cast<int>(w), static_cast<int>(h), width, height) ||
        width <= 0 || height <= 0 || FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    const UINT stride = static_cast<UINT>(width) * 4;
    const unsigned long long bytes = static_cast<unsigned long long>(stride) * static_cast<UINT>(height);
    if (bytes > 0xFFFFFFFFull) return false;
    try {
        bgra.assign(static_cast<std::size_t>(bytes), 0);
    } catch (...) {
        return false;
    }
    IWICBitmapSource* source = converter.p;
    ComRef<IWICBitmapScaler> scaler;
    if (w != static_cast<UINT>(width) || h != static_cast<UINT>(height)) {
        if (FAILED(factory->CreateBitmapScaler(&scaler)) ||
            FAILED(scaler->Initialize(converter.p, static_cast<UINT>(width), static_cast<UINT>(height),
                                      WICBitmapInterpolationModeFant)))
            return false;
        source = scaler.p;
    }
    return SUCCEEDED(source->CopyPixels(nullptr, stride, static_cast<UINT>(bytes), bgra.data()));
}

}  // namespace qm
