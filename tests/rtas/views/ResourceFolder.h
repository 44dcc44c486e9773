#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/carboncore/Resources.h"
#include "tests/ScratchFolder.h"

// A resource file made in a scratch folder: one folder per type, one file
// per resource id, opened as the current resource file until it goes.
class ResourceFolder {
 public:
  ResourceFolder& Put(const char (&type)[5], int16_t id, const std::vector<uint8_t>& bytes) {
    const std::string folder = mFolder.PathOf(type);
    std::filesystem::create_directories(folder);
    mFolder.Write(std::string(type) + "/" + std::to_string(id), std::vector<unsigned char>(bytes.begin(), bytes.end()));
    return *this;
  }
  ResourceFolder& PutText(const char (&type)[5], int16_t id, const std::string& text) {
    return Put(type, id, std::vector<uint8_t>(text.begin(), text.end()));
  }
  // Opens the folder as the current resource file.
  short Open() {
    mFile = platform::OpenResourceFolder(mFolder.Path().c_str());
    return mFile;
  }
  ~ResourceFolder() {
    if (mFile > 0) CloseResFile(mFile);
  }

 private:
  ScratchFolder mFolder;
  short mFile = 0;
};

// Big-endian pieces of resource data.
inline void PutWord(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  out.push_back(static_cast<uint8_t>(v & 0xFF));
}
inline void PutCounted(std::vector<uint8_t>& out, const std::string& s) {
  out.push_back(static_cast<uint8_t>(s.size()));
  out.insert(out.end(), s.begin(), s.end());
}
inline std::vector<uint8_t> StringList(const std::vector<std::string>& strings) {
  std::vector<uint8_t> out;
  PutWord(out, static_cast<int>(strings.size()));
  for (const std::string& s : strings) PutCounted(out, s);
  return out;
}
inline std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
