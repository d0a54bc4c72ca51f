#pragma once
#include "platform/file_system.hpp"

namespace orv {

// GetLastError() with the system's description of it (UTF-8, trailing line break removed).
SystemError LastSystemError();
SystemError DescribeSystemError(unsigned long number);

}  // namespace orv
