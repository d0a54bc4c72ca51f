#pragma once
// Writing a drawn surface to a picture file: PNG through the system's imaging codecs, BMP
// directly. The format follows the file name's extension (".png", else ".bmp").
#include <string>

#include "platform/file_system.hpp"
#include "platform/win32/gdi_canvas.hpp"

namespace orv {

SystemError SaveCanvasImage(const GdiCanvas& canvas, const std::string& path);

}  // namespace orv
