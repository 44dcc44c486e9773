#pragma once

#include <string>

// Stand-in for the bundle lookup. On Linux the "bundle" of a plug-in is the
// library or program that holds its code, whatever identifier is asked.
namespace platform {

// The folder that holds the bundle, with a trailing "/"; empty when the
// code's own file cannot be found.
std::string BundleFolder(const char* bundleIdentifier);

}  // namespace platform
