#pragma once

#include <string>
#include <vector>

namespace platform {

// Stand-in for the user's Application Support folder: the XDG data home
// ($XDG_DATA_HOME, else ~/.local/share), without a trailing "/". Empty when
// neither variable names a folder. Like the Mac folder it always exists:
// it is created (with its parents, under the umask) when missing, so that
// the plug-in's own folders can be made inside it on a fresh account.
std::string ApplicationSupportFolder();

}  // namespace platform

// Stand-in for Foundation's folder lookup: the Desktop (~/Desktop) and the
// Application Support folder above, for the user domain only; any other
// directory or domain gives an empty list. Without tilde expansion a path
// under the home folder starts with "~".
enum NSSearchPathDirectory { NSDesktopDirectory = 12, NSApplicationSupportDirectory = 14 };
enum NSSearchPathDomainMask { NSUserDomainMask = 1 };

std::vector<std::string> NSSearchPathForDirectoriesInDomains(int directory, int domainMask, bool expandTilde);
