#pragma once

#include <string>

// An item's text as a native menu shows it: numbered by its 1-based
// position when the menu asks for it ("%1d: ", "%02d: ", "%03d: " for
// styles 1 to 3; nothing for 0 or any other style). Null text is "".
std::string PrefixedItemText(int prefixStyle, int position, const char* text);
