#pragma once

#include <string>

namespace platform {

// Stand-in for the user's Application Support folder: the XDG data home
// ($XDG_DATA_HOME, else ~/.local/share), without a trailing "/". Empty when
// neither variable names a folder.
std::string ApplicationSupportFolder();

}  // namespace platform
