#pragma once

#include <string>

#include "platform/carboncore/MacTypes.h"

// Counted strings (a length byte, then the text) as the library passes
// framework identifiers, file names and function names.
namespace pascaltext {

std::string ToString(ConstStr255Param text);
// Cut to 255 bytes.
void FromString(const std::string& text, Str255 out);

}  // namespace pascaltext
