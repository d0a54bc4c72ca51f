#include "platform/win32/image_file.hpp"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/win32/handles.hpp"
#include "platform/win32/system_error.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

// The surface's pixels as 24-bit blue-green-red rows, top row first, each padded to 4 bytes.
bool ReadPixels(const GdiCanvas& canvas, std::vector<std::uint8_t>& rows, int& stride) {
  const int w = canvas.Width(), h = canvas.Height();
  if (w <= 0 || h <= 0) return false;
  stride = (w * 3 + 3) & ~3;
  rows.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h), 0);
  BITMAPINFO info{};
  info.bmiHeader = TopDownDibHeader(w, h, 24);
  HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(canvas.dc(), OBJ_BITMAP));
  return bitmap && GetDIBits(canvas.dc(), bitmap, 0, static_cast<UINT>(h), rows.data(), &info,
                             DIB_RGB_COLORS) == h;
}

SystemError HresultError(HRESULT hr) {
  if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return DescribeSystemError(HRESULT_CODE(hr));
  SystemError error = DescribeSystemError(static_cast<unsigned long>(hr));
  error.number = static_cast<long>(hr);
  return error;
}

SystemError SavePng(const std::vector<std::uint8_t>& rows, int stride, int w, int h,
                    const std::string& path) {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  struct Uninit {
    HRESULT hr;
    ~Uninit() {
      if (SUCCEEDED(hr)) CoUninitialize();
    }
  } uninit{init};
  ComPtr<IWICImagingFactory> factory;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()));
  ComPtr<IWICStream> stream;
  if (SUCCEEDED(hr)) hr = factory->CreateStream(stream.put());
  if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(Utf8ToWide(path).c_str(), GENERIC_WRITE);
  ComPtr<IWICBitmapEncoder> encoder;
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put());
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
  ComPtr<IWICBitmapFrameEncode> frame;
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(frame.put(), nullptr);
  if (SUCCEEDED(hr)) hr = frame->Initialize(nullptr);
  if (SUCCEEDED(hr)) hr = frame->SetSize(static_cast<UINT>(w), static_cast<UINT>(h));
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
  if (SUCCEEDED(hr) && format != GUID_WICPixelFormat24bppBGR) hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
  if (SUCCEEDED(hr))
    hr = frame->WritePixels(static_cast<UINT>(h), static_cast<UINT>(stride),
                            static_cast<UINT>(rows.size()), const_cast<BYTE*>(rows.data()));
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  return FAILED(hr) ? HresultError(hr) : SystemError{};
}

SystemError SaveBmp(const std::vector<std::uint8_t>& rows, int w, int h,
                    const std::string& path) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info = TopDownDibHeader(w, h, 24);  // top-down rows, as read
  info.biSizeImage = static_cast<DWORD>(rows.size());
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes.append(reinterpret_cast<const char*>(rows.data()), rows.size());
  return ReplaceFileContents(path, bytes);
}

}  // namespace

SystemError SaveCanvasImage(const GdiCanvas& canvas, const std::string& path) {
  std::vector<std::uint8_t> rows;
  int stride = 0;
  if (!ReadPixels(canvas, rows, stride)) return LastSystemError();
  std::string lower = path;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  const bool png = lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".png") == 0;
  return png ? SavePng(rows, stride, canvas.Width(), canvas.Height(), path)
             : SaveBmp(rows, canvas.Width(), canvas.Height(), path);
}

}  // namespace orv
