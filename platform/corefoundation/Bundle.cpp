#include "platform/corefoundation/Bundle.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>

namespace platform {

std::string BundleFolder(const char*) {
  Dl_info info{};
  // Any address inside this code names the file that holds it.
  if (!dladdr(reinterpret_cast<void*>(&BundleFolder), &info) || !info.dli_fname) return {};
  char resolved[PATH_MAX];
  std::string path = realpath(info.dli_fname, resolved) ? resolved : info.dli_fname;
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1);
}

}  // namespace platform
