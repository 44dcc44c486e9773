#pragma once

#include <mutex>
#include <string>

struct CFBundleObject;

// The process-wide list of live bundles. Private to platform/corefoundation.
namespace platform {

std::recursive_mutex& BundleMutex();
// In creation order; lookups answer the first match.
void RegisterBundle(CFBundleObject* bundle);
void UnregisterBundle(CFBundleObject* bundle);
CFBundleObject* FindBundleByIdentifier(const std::string& identifier);
CFBundleObject* FindBundleByPath(const std::string& path);
// Made on first use from /proc/self/exe; never destroyed.
CFBundleObject* MainBundle();
void SetMainBundlePath(const std::string& executablePath);

}  // namespace platform
