#pragma once

#include <string>

namespace platform {

// Stand-in for the user's Application Support folder: the XDG data home
// ($XDG_DATA_HOME, else ~/.local/share), without a trailing "/". Empty when
// neither variable names a folder. Like the Mac folder it always exists:
// it is created (with its parents, under the umask) when missing, so that
// the plug-in's own folders can be made inside it on a fresh account.
std::string ApplicationSupportFolder();

}  // namespace platform
