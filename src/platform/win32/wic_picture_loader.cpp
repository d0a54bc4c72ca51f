#include "platform/win32/wic_picture_loader.hpp"

#include <wincodec.h>

#include <cstdint>

#include "platform/win32/system_error.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

// COM for the duration of one load; a thread already in another apartment kind keeps it.
class ComScope {
public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

private:
  HRESULT result_;
};

// Win32 errors wrapped in a result code are reported as the plain system error, which has
// a description; other codes as they are.
LoadedPicture Failure(HRESULT hr) {
  if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return {nullptr, DescribeSystemError(HRESULT_CODE(hr))};
  SystemError error = DescribeSystemError(static_cast<unsigned long>(hr));
  error.number = static_cast<std::int32_t>(hr);
  // The imaging codes have no system text on some systems.
  constexpr unsigned kImagingFacility = 0x898;
  if (HRESULT_FACILITY(hr) == kImagingFacility && error.description.starts_with("Error "))
    error.description = "The file is not a picture the system can read";
  return {nullptr, error};
}

}  // namespace

LoadedPicture WicPictureLoader::Load(const std::string& path) {
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()));
  if (FAILED(hr)) return Failure(hr);
  ComPtr<IWICBitmapDecoder> decoder;
  hr = factory->CreateDecoderFromFilename(Utf8ToWide(path).c_str(), nullptr, GENERIC_READ,
                                          WICDecodeMetadataCacheOnDemand, decoder.put());
  if (FAILED(hr)) return Failure(hr);
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(hr = decoder->GetFrame(0, frame.put()))) return Failure(hr);
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(hr = factory->CreateFormatConverter(converter.put()))) return Failure(hr);
  hr = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                             nullptr, 0.0, WICBitmapPaletteTypeCustom);
  if (FAILED(hr)) return Failure(hr);
  UINT width = 0, height = 0;
  if (FAILED(hr = converter->GetSize(&width, &height))) return Failure(hr);
  if (width == 0 || height == 0 || width > 32767 || height > 32767 ||
      std::uint64_t{width} * height * 4 > 0x7FFFFFFF)
    return Failure(WINCODEC_ERR_IMAGESIZEOUTOFRANGE);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down rows, as WIC delivers them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return {nullptr, LastSystemError()};
  const UINT stride = width * 4;
  hr = converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits));
  if (FAILED(hr)) return Failure(hr);
  GdiFlush();
  return {std::make_shared<BitmapPicture>(std::move(bitmap)), {}};
}

}  // namespace orv
