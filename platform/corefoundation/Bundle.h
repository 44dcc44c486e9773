#pragma once

#include <string>

// Where the plug-in's own files lie. A live folder bundle with the
// identifier answers with the folder that holds it; otherwise the plug-in is
// taken to be built into the host program, and the folder that holds the
// main bundle answers.
namespace platform {

// The folder, with a trailing "/"; empty when neither can be found.
std::string BundleFolder(const char* bundleIdentifier);

}  // namespace platform
