#pragma once

#include <stdlib.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

// A fresh folder under the system's temporary folder, removed with all it
// holds when the test ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brimlow-tools-XXXXXX").string();
    if (mkdtemp(pattern.data())) mPath = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return mPath; }
  std::string PathOf(const std::string& name) const { return mPath + "/" + name; }
  size_t FileCount() const {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator(mPath), std::filesystem::directory_iterator()));
  }
  std::vector<std::string> FileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(mPath)) names.push_back(entry.path().filename());
    return names;
  }

 private:
  std::string mPath;
};
