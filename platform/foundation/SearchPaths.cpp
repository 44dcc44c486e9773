#include "platform/foundation/SearchPaths.h"

#include <cstdlib>

namespace platform {

std::string ApplicationSupportFolder() {
  // The XDG rules ignore relative paths.
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && dataHome[0] == '/') return dataHome;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.local/share";
  return {};
}

}  // namespace platform
