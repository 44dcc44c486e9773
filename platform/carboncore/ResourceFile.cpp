#include "platform/carboncore/ResourceFile.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/carboncore/HandleBlock.h"
#include "platform/carboncore/MacMemory.h"

namespace platform {

namespace {

bool NeedsEscape(unsigned char c) { return c < '!' || c > '~' || c == '/' || c == '%'; }

std::string Escape(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (NeedsEscape(c)) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool Unescape(const std::string& text, std::string* out) {
  out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      *out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    const int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
    if (hi < 0 || lo < 0) return false;
    *out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

bool ParseType(const std::string& folderName, ResType* type) {
  std::string bytes;
  if (!Unescape(folderName, &bytes) || bytes.size() != 4) return false;
  *type = 0;
  for (unsigned char c : bytes) *type = (*type << 8) | c;
  return true;
}

// "<id>" or "<id> <name>", the id a signed 16-bit decimal number.
bool ParseFileName(const std::string& fileName, ResID* id, std::string* name) {
  const size_t space = fileName.find(' ');
  const std::string number = fileName.substr(0, space);
  if (number.empty() || number.size() > 6) return false;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(number.c_str(), &end, 10);
  if (*end || errno || value < -32768 || value > 32767) return false;
  if (number[0] == '+' || (number.size() > 1 && number[0] == '0')) return false;  // one spelling per id
  *id = static_cast<ResID>(value);
  name->clear();
  if (space == std::string::npos) return true;
  return Unescape(fileName.substr(space + 1), name) && name->size() <= 255;
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* e = readdir(dir)) {
      if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, "..")) names.push_back(e->d_name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::string ResourceTypeFolderName(ResType type) {
  std::string bytes;
  for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((type >> shift) & 0xff);
  return Escape(bytes);
}

std::string ResourceFileName(ResID id, const std::string& name) {
  std::string fileName = std::to_string(id);
  if (!name.empty()) fileName += " " + Escape(name);
  return fileName;
}

std::unique_ptr<ResourceFile> ResourceFile::Open(const std::string& folder, short refNum) {
  std::unique_ptr<ResourceFile> file(new ResourceFile(refNum));
  struct stat info;
  if (stat(folder.c_str(), &info) != 0) return file;  // no folder: an empty map
  if (!S_ISDIR(info.st_mode)) return nullptr;
  for (const std::string& typeName : FolderNames(folder)) {
    ResType type;
    const std::string typeFolder = folder + "/" + typeName;
    if (!ParseType(typeName, &type) || !IsFolder(typeFolder)) continue;
    for (const std::string& fileName : FolderNames(typeFolder)) {
      ResID id;
      std::string name;
      const std::string path = typeFolder + "/" + fileName;
      // A second file for the same id (another name) would make the
      // lookup depend on listing order: the first in sorted order wins.
      if (!ParseFileName(fileName, &id, &name) || !IsFile(path) || file->Find(type, id)) continue;
      auto entry = std::make_unique<ResourceEntry>();
      entry->mType = type;
      entry->mId = id;
      entry->mName = name;
      entry->mPath = path;
      entry->mFile = refNum;
      file->mEntries.push_back(std::move(entry));
    }
  }
  std::sort(file->mEntries.begin(), file->mEntries.end(), [](const auto& a, const auto& b) {
    return a->mType != b->mType ? a->mType < b->mType : a->mId < b->mId;
  });
  return file;
}

ResourceFile::~ResourceFile() {
  for (auto& entry : mEntries) Unload(entry.get());
}

ResourceEntry* ResourceFile::Find(ResType type, ResID id) {
  for (auto& entry : mEntries) {
    if (entry->mType == type && entry->mId == id) return entry.get();
  }
  return nullptr;
}

ResourceEntry* ResourceFile::FindNamed(ResType type, const std::string& name) {
  for (auto& entry : mEntries) {
    if (entry->mType == type && entry->mName == name) return entry.get();
  }
  return nullptr;
}

short ResourceFile::Count(ResType type) const {
  return static_cast<short>(std::count_if(mEntries.begin(), mEntries.end(),
                                          [type](const auto& entry) { return entry->mType == type; }));
}

ResourceEntry* ResourceFile::AtIndex(ResType type, short index) {
  if (index < 1) return nullptr;
  for (auto& entry : mEntries) {
    if (entry->mType == type && --index == 0) return entry.get();
  }
  return nullptr;
}

Handle ResourceFile::Load(ResourceEntry* entry, OSErr* err) {
  *err = noErr;
  if (entry->mHandle) return entry->mHandle;
  FILE* f = std::fopen(entry->mPath.c_str(), "rb");
  if (!f) {
    *err = mapReadErr;
    return nullptr;
  }
  std::vector<char> bytes;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  const bool readOk = !std::ferror(f);
  std::fclose(f);
  if (!readOk) {
    *err = mapReadErr;
    return nullptr;
  }
  Handle h = NewHandle(static_cast<Size>(bytes.size()));
  if (!h) {
    *err = memFullErr;
    return nullptr;
  }
  if (!bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
  BlockOfHandle(h)->mResource = entry;
  entry->mHandle = h;
  return h;
}

void ResourceFile::Unload(ResourceEntry* entry) {
  if (HandleBlock* block = BlockOfHandle(entry->mHandle)) FreeHandleBlock(block);
  entry->mHandle = nullptr;
}

}  // namespace platform
