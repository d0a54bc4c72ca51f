#pragma once
#include <string>

#include "app/render_options.hpp"

namespace orv {

// Composes the calendar picture as the options say and writes it. Returns an error
// description, empty on success.
std::string RunRenderCommand(const RenderOptions& options);

}  // namespace orv
