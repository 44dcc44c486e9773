#include "platform/carboncore/Resources.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/carboncore/HandleBlock.h"
#include "platform/carboncore/MacMemory.h"
#include "platform/carboncore/ResourceChain.h"
#include "platform/carboncore/ResourceFile.h"

namespace platform {

namespace {

constexpr ResType kStringListType = 0x53545223;  // 'STR#'
constexpr ResType kPixPatType = 0x70706174;      // 'ppat'

// The process-wide chain: the plug-in bundle, the host and the views all
// see the same current file.
struct Chain {
  std::recursive_mutex mMutex;
  std::vector<std::unique_ptr<ResourceFile>> mFiles;  // newest first; the system file is not listed
  short mCurrent = 0;
  short mLastRefNum = 0;
};

Chain& TheChain() {
  static Chain* chain = new Chain;  // never destroyed: handles may be released during exit
  return *chain;
}

thread_local OSErr tResError = noErr;

size_t IndexOf(Chain& chain, short refNum) {
  for (size_t i = 0; i < chain.mFiles.size(); ++i) {
    if (chain.mFiles[i]->RefNum() == refNum) return i;
  }
  return chain.mFiles.size();
}

ResourceFile* CurrentFile(Chain& chain) {
  const size_t i = IndexOf(chain, chain.mCurrent);
  return i < chain.mFiles.size() ? chain.mFiles[i].get() : nullptr;
}

Handle LoadEntry(ResourceFile* file, ResourceEntry* entry) {
  if (!entry) {
    tResError = resNotFound;
    return nullptr;
  }
  OSErr err;
  Handle h = file->Load(entry, &err);
  tResError = err;
  return h;
}

template <class Find>
Handle SearchChain(Find find) {
  Chain& chain = TheChain();
  std::lock_guard<std::recursive_mutex> lock(chain.mMutex);
  // The system file (0) holds nothing, so the search from it is empty.
  for (size_t i = IndexOf(chain, chain.mCurrent); i < chain.mFiles.size(); ++i) {
    if (ResourceEntry* entry = find(chain.mFiles[i].get())) return LoadEntry(chain.mFiles[i].get(), entry);
  }
  tResError = resNotFound;
  return nullptr;
}

template <class Find>
Handle SearchCurrent(Find find) {
  Chain& chain = TheChain();
  std::lock_guard<std::recursive_mutex> lock(chain.mMutex);
  ResourceFile* file = CurrentFile(chain);
  return file ? LoadEntry(file, find(file)) : (tResError = resNotFound, nullptr);
}

std::string NameOf(ConstStr255Param name) {
  return name ? std::string(reinterpret_cast<const char*>(name + 1), name[0]) : std::string();
}

ResourceEntry* EntryOf(Handle h) {
  HandleBlock* block = BlockOfHandle(h);
  return block ? static_cast<ResourceEntry*>(block->mResource) : nullptr;
}

}  // namespace

short OpenResourceFolder(const char* folderPath) {
  Chain& chain = TheChain();
  std::lock_guard<std::recursive_mutex> lock(chain.mMutex);
  // Reference numbers are not reused while a file holds one.
  short refNum = chain.mLastRefNum;
  do {
    refNum = refNum >= 32767 ? 1 : static_cast<short>(refNum + 1);
  } while (IndexOf(chain, refNum) < chain.mFiles.size());
  std::unique_ptr<ResourceFile> file = ResourceFile::Open(folderPath ? folderPath : "", refNum);
  if (!file) {
    tResError = mapReadErr;
    return 0;
  }
  chain.mLastRefNum = refNum;
  chain.mFiles.insert(chain.mFiles.begin(), std::move(file));
  chain.mCurrent = refNum;
  tResError = noErr;
  return refNum;
}

void ForgetResourceHandle(Handle h) {
  std::lock_guard<std::recursive_mutex> lock(TheChain().mMutex);
  if (ResourceEntry* entry = EntryOf(h)) {
    entry->mHandle = nullptr;
    BlockOfHandle(h)->mResource = nullptr;
  }
}

}  // namespace platform

using platform::TheChain;
using platform::tResError;

extern "C" {

short CurResFile(void) {
  std::lock_guard<std::recursive_mutex> lock(TheChain().mMutex);
  tResError = noErr;
  return TheChain().mCurrent;
}

void UseResFile(short refNum) {
  platform::Chain& chain = TheChain();
  std::lock_guard<std::recursive_mutex> lock(chain.mMutex);
  if (refNum != 0 && platform::IndexOf(chain, refNum) == chain.mFiles.size()) {
    tResError = resFNotFound;
    return;
  }
  chain.mCurrent = refNum;
  tResError = noErr;
}

void CloseResFile(short refNum) {
  platform::Chain& chain = TheChain();
  std::lock_guard<std::recursive_mutex> lock(chain.mMutex);
  const size_t i = platform::IndexOf(chain, refNum);
  if (i == chain.mFiles.size()) {
    tResError = resFNotFound;
    return;
  }
  // The file below the closed one takes over, as on the Mac.
  if (chain.mCurrent == refNum) chain.mCurrent = i + 1 < chain.mFiles.size() ? chain.mFiles[i + 1]->RefNum() : 0;
  chain.mFiles.erase(chain.mFiles.begin() + static_cast<std::ptrdiff_t>(i));
  tResError = noErr;
}

OSErr ResError(void) { return tResError; }

Handle Get1Resource(ResType type, ResID id) {
  return platform::SearchCurrent([&](platform::ResourceFile* f) { return f->Find(type, id); });
}

Handle Get1NamedResource(ResType type, ConstStr255Param name) {
  const std::string text = platform::NameOf(name);
  return platform::SearchCurrent([&](platform::ResourceFile* f) { return f->FindNamed(type, text); });
}

short Count1Resources(ResType type) {
  std::lock_guard<std::recursive_mutex> lock(TheChain().mMutex);
  platform::ResourceFile* file = platform::CurrentFile(TheChain());
  tResError = noErr;
  return file ? file->Count(type) : 0;
}

Handle Get1IndResource(ResType type, short index) {
  return platform::SearchCurrent([&](platform::ResourceFile* f) { return f->AtIndex(type, index); });
}

Handle GetResource(ResType type, ResID id) {
  return platform::SearchChain([&](platform::ResourceFile* f) { return f->Find(type, id); });
}

ResID UniqueID(ResType type) {
  static int next = 128;
  for (int tries = 0; tries < 32768 - 128; ++tries) {
    const ResID id = static_cast<ResID>(next);
    next = next >= 32767 ? 128 : next + 1;
    if (!platform::SearchChain([&](platform::ResourceFile* f) { return f->Find(type, id); })) return id;
  }
  return 128;
}

Handle GetNamedResource(ResType type, ConstStr255Param name) {
  const std::string text = platform::NameOf(name);
  return platform::SearchChain([&](platform::ResourceFile* f) { return f->FindNamed(type, text); });
}

void GetResInfo(Handle resource, ResID* id, ResType* type, unsigned char* name) {
  std::lock_guard<std::recursive_mutex> lock(TheChain().mMutex);
  const platform::ResourceEntry* entry = platform::EntryOf(resource);
  if (!entry) {
    tResError = resNotFound;
    return;
  }
  if (id) *id = entry->mId;
  if (type) *type = entry->mType;
  if (name) {
    name[0] = static_cast<unsigned char>(entry->mName.size());
    std::memcpy(name + 1, entry->mName.data(), entry->mName.size());
  }
  tResError = noErr;
}

short HomeResFile(Handle resource) {
  std::lock_guard<std::recursive_mutex> lock(TheChain().mMutex);
  const platform::ResourceEntry* entry = platform::EntryOf(resource);
  tResError = entry ? noErr : resNotFound;
  return entry ? entry->mFile : -1;
}

void ReleaseResource(Handle resource) {
  std::lock_guard<std::recursive_mutex> lock(TheChain().mMutex);
  platform::ResourceEntry* entry = platform::EntryOf(resource);
  if (!entry) {
    tResError = resNotFound;
    return;
  }
  platform::ResourceFile::Unload(entry);
  tResError = noErr;
}

void DetachResource(Handle resource) {
  std::lock_guard<std::recursive_mutex> lock(TheChain().mMutex);
  if (!platform::EntryOf(resource)) {
    tResError = resNotFound;
    return;
  }
  platform::ForgetResourceHandle(resource);
  tResError = noErr;
}

void GetIndString(Str255 text, short strListID, short index) {
  text[0] = 0;
  std::lock_guard<std::recursive_mutex> lock(TheChain().mMutex);
  Handle list = GetResource(platform::kStringListType, strListID);
  if (!list || index < 1) return;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(*list);
  const size_t size = static_cast<size_t>(GetHandleSize(list));
  if (size < 2) return;
  const int count = (bytes[0] << 8) | bytes[1];
  size_t at = 2;
  for (int i = 1; i <= count && at < size; ++i) {
    const size_t length = bytes[at];
    if (at + 1 + length > size) return;  // a truncated list gives nothing past its end
    if (i == index) {
      std::memcpy(text, bytes + at, length + 1);
      return;
    }
    at += 1 + length;
  }
}

PixPatHandle GetPixPat(short patID) {
  std::lock_guard<std::recursive_mutex> lock(TheChain().mMutex);
  Handle resource = GetResource(platform::kPixPatType, patID);
  if (!resource) return nullptr;
  const Size size = GetHandleSize(resource);
  Handle copy = NewHandle(size);
  if (!copy) return nullptr;
  if (size) std::memcpy(*copy, *resource, static_cast<size_t>(size));
  return reinterpret_cast<PixPatHandle>(copy);
}

void DisposePixPat(PixPatHandle pattern) {
  if (pattern) DisposeHandle(reinterpret_cast<Handle>(pattern));
}

}  // extern "C"
