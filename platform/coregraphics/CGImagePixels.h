#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/coregraphics/CGImage.h"

// Private to platform/coregraphics: what a window context reads of an image.
namespace platform {

const uint8_t* ImagePixels(CGImageRef image, size_t* rowSpanPixels);

}  // namespace platform
