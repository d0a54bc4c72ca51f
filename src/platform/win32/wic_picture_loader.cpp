#include "platform/win32/wic_picture_loader.hpp"

#include <wincodec.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/file_system.hpp"
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

// Whether the file begins as a BMP file does; only those are read whole before the codecs
// are asked.
bool LooksLikeBitmapFile(const std::string& path) {
  FileHandle file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  char mark[2] = {};
  DWORD got = 0;
  return file && ReadFile(file.get(), mark, sizeof mark, &got, nullptr) && got == 2 && mark[0] == 'B' && mark[1] == 'M';
}

}  // namespace

std::shared_ptr<BitmapPicture> LoadPlainBitmap(const std::string& path) {
  if (!LooksLikeBitmapFile(path)) return nullptr;
  std::string file;
  if (ReadWholeFile(path, file)) return nullptr;
  const std::optional<PlainBitmapLayout> layout = FindPlainBitmap(file);
  if (!layout) return nullptr;
  // The file's own header may be of a later kind with colour space data: GDI is given the
  // plain information header and the palette.
  std::vector<unsigned char> header(sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(layout->palette_count) * 4);
  auto& source = *reinterpret_cast<BITMAPINFO*>(header.data());
  source.bmiHeader = TopDownDibHeader(layout->width, 1, static_cast<WORD>(layout->bits_per_pixel));
  source.bmiHeader.biHeight = layout->height;  // the file's row order
  source.bmiHeader.biClrUsed = static_cast<DWORD>(layout->palette_count);
  std::memcpy(header.data() + sizeof(BITMAPINFOHEADER), file.data() + layout->palette_offset,
              static_cast<std::size_t>(layout->palette_count) * 4);
  const int height = layout->height < 0 ? -layout->height : layout->height;
  void* bits = nullptr;
  BitmapHandle bitmap = MakeTopDownDib(layout->width, height, 32, bits);
  MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !dc) return nullptr;
  // GDI is handed rows that start on a four-byte boundary, as DIBs are laid out in memory.
  const char* rows = file.data() + layout->bits_offset;
  std::vector<std::uint32_t> aligned;
  if (reinterpret_cast<std::uintptr_t>(rows) % 4 != 0) {
    aligned.resize((file.size() - layout->bits_offset + 3) / 4);
    std::memcpy(aligned.data(), rows, file.size() - layout->bits_offset);
    rows = reinterpret_cast<const char*>(aligned.data());
  }
  if (SetDIBits(dc.get(), bitmap.get(), 0, static_cast<UINT>(height), rows, &source, DIB_RGB_COLORS) != height)
    return nullptr;
  GdiFlush();
  // Opaque, as the codecs deliver a picture without an alpha channel.
  auto* pixel = static_cast<std::uint32_t*>(bits);
  for (std::size_t i = 0, n = static_cast<std::size_t>(layout->width) * static_cast<std::size_t>(height); i < n; ++i)
    pixel[i] |= 0xFF000000u;
  return std::make_shared<BitmapPicture>(std::move(bitmap));
}

LoadedPicture WicPictureLoader::Load(const std::string& path) {
  if (auto plain = LoadPlainBitmap(path)) return {std::move(plain), {}};
  return LoadWithCodecs(path);
}

LoadedPicture WicPictureLoader::LoadWithCodecs(const std::string& path) {
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

  void* bits = nullptr;  // top-down rows, as WIC delivers them
  BitmapHandle bitmap = MakeTopDownDib(static_cast<int>(width), static_cast<int>(height), 32, bits);
  if (!bitmap) return {nullptr, LastSystemError()};
  const UINT stride = width * 4;
  hr = converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits));
  if (FAILED(hr)) return Failure(hr);
  GdiFlush();
  return {std::make_shared<BitmapPicture>(std::move(bitmap)), {}};
}

}  // namespace orv
