#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/carboncore/MacTypes.h"

namespace platform {

struct ResourceEntry {
  ResType mType = 0;
  ResID mId = 0;
  std::string mName;  // without the length byte
  std::string mPath;
  short mFile = 0;
  Handle mHandle = nullptr;  // null until read, and again once released or detached
};

// One resource file read from a folder (the layout is described in
// Resources.h). The listing is read on opening, each resource's data on
// first use.
class ResourceFile {
 public:
  // A missing folder gives an empty file; an unreadable one null.
  static std::unique_ptr<ResourceFile> Open(const std::string& folder, short refNum);
  ~ResourceFile();
  ResourceFile(const ResourceFile&) = delete;
  ResourceFile& operator=(const ResourceFile&) = delete;

  short RefNum() const { return mRefNum; }
  ResourceEntry* Find(ResType type, ResID id);
  ResourceEntry* FindNamed(ResType type, const std::string& name);
  short Count(ResType type) const;
  // From 1, in ascending id order.
  ResourceEntry* AtIndex(ResType type, short index);
  // The entry's handle, reading the data first when needed; null with
  // *err set when the data cannot be read.
  Handle Load(ResourceEntry* entry, OSErr* err);
  // Frees the data of an attached handle.
  static void Unload(ResourceEntry* entry);

 private:
  explicit ResourceFile(short refNum) : mRefNum(refNum) {}

  short mRefNum;
  std::vector<std::unique_ptr<ResourceEntry>> mEntries;  // by type, then id
};

// Names in the folder layout, for whoever writes a resource folder.
std::string ResourceTypeFolderName(ResType type);
std::string ResourceFileName(ResID id, const std::string& name);

}  // namespace platform
