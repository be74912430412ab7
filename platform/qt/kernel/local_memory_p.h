// Blocks of local memory that the layer hands to the editor, as Windows does with LocalAlloc,
// and that the editor gives back with LocalFree.
#pragma once

#include "platform/win32.h"

#include <cstddef>

namespace platform {

// A fixed block of at least the given size, aligned for any type; null when memory is short.
HLOCAL localAlloc(std::size_t size);

} // namespace platform
