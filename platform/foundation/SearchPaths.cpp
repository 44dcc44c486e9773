#include "platform/foundation/SearchPaths.h"

#include <sys/stat.h>

#include <cstdlib>

namespace platform {

namespace {

void CreateWithParents(const std::string& path) {
  for (std::string::size_type slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0777);  // an existing folder just fails
    if (slash == std::string::npos) break;
  }
}

std::string DataHome() {
  // The XDG rules ignore relative paths.
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && dataHome[0] == '/') return dataHome;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.local/share";
  return {};
}

}  // namespace

std::string ApplicationSupportFolder() {
  std::string folder = DataHome();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (!folder.empty()) CreateWithParents(folder);
  return folder;
}

}  // namespace platform

std::vector<std::string> NSSearchPathForDirectoriesInDomains(int directory, int domainMask, bool expandTilde) {
  if (!(domainMask & NSUserDomainMask)) return {};
  const char* homeVariable = std::getenv("HOME");
  std::string home = homeVariable && homeVariable[0] == '/' ? homeVariable : "";
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  std::string path;
  if (directory == NSDesktopDirectory) {
    if (home.empty()) return {};
    path = home + "/Desktop";
  } else if (directory == NSApplicationSupportDirectory) {
    path = platform::ApplicationSupportFolder();
    if (path.empty()) return {};
  } else {
    return {};
  }
  if (!expandTilde && !home.empty() && path.compare(0, home.size(), home) == 0 &&
      (path.size() == home.size() || path[home.size()] == '/')) {
    path = "~" + path.substr(home.size());
  }
  return {path};
}
