#pragma once

#include <stdlib.h>

#include <cstdio>
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
    std::string pattern = (std::filesystem::temp_directory_path() / "brimlow-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) mPath = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  bool Ok() const { return !mPath.empty(); }
  const std::string& Path() const { return mPath; }
  std::string PathOf(const std::string& name) const { return mPath + "/" + name; }
  size_t FileCount() const {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator(mPath), std::filesystem::directory_iterator()));
  }
  // Writes bytes into a file of the folder; its path, or "" on failure.
  std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) const {
    const std::string path = PathOf(name);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return {};
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok ? path : std::string();
  }
  std::vector<std::string> FileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(mPath)) names.push_back(entry.path().filename());
    return names;
  }

 private:
  std::string mPath;
};
