#include "tools/brimlow-host/StructureRegistry.h"

#include <cstring>

namespace {

// A word list "count, then that many objects" starting at *at; false when
// it runs past the end. *at moves past it.
bool ReadSet(const std::vector<HostWord>& words, size_t* at, std::vector<void*>* objects) {
  if (*at >= words.size()) return false;
  const HostWord count = words[(*at)++];
  if (count > words.size() - *at) return false;
  objects->clear();
  for (HostWord i = 0; i < count; ++i) objects->push_back(reinterpret_cast<void*>(words[(*at)++]));
  return true;
}

}  // namespace

StructureRegistry::StructureRegistry() {
  static const SStructureRegistryVtbl table = {RegisterThunk, UnregisterThunk, DescribeThunk};
  mInterface.mFace.mVtbl = &table;
  mInterface.mOwner = this;
}

StructureRegistry::~StructureRegistry() = default;

StructureRegistry* StructureRegistry::Of(SStructureRegistry* self) {
  return reinterpret_cast<Face*>(self)->mOwner;
}

int32_t StructureRegistry::RegisterThunk(SStructureRegistry* self, void* object, uint8_t kind) {
  return Of(self)->Register(object, kind);
}
int32_t StructureRegistry::UnregisterThunk(SStructureRegistry* self, void* object) {
  return Of(self)->Unregister(object);
}
int32_t StructureRegistry::DescribeThunk(SStructureRegistry* self, void* object,
                                         const SWordArraySnapshot* description) {
  return Of(self)->Describe(object, description);
}

int32_t StructureRegistry::Register(void* object, uint8_t kind) {
  ++mRegisterCalls;
  if (!object) {
    ++mFaults;
    return -1;
  }
  auto [it, inserted] = mObjects.try_emplace(object);
  if (!inserted) ++mFaults;
  it->second.kind = kind;
  return 0;
}

int32_t StructureRegistry::Unregister(void* object) {
  if (mObjects.erase(object) != 0) return 0;
  ++mFaults;
  return -1;
}

int32_t StructureRegistry::Describe(void* object, const SWordArraySnapshot* description) {
  ++mDescribeCalls;
  auto it = mObjects.find(object);
  if (it == mObjects.end() || !description) {
    ++mFaults;
    return -1;
  }
  const HostWord* words = description->mCopy ? description->mCopy : description->mWords;
  const size_t count = static_cast<size_t>(description->mSizeBytes / sizeof(HostWord));
  Object& entry = it->second;
  // A lone word on the plug-in is the bracket around an update (2 opens,
  // 3 closes), not a description of it.
  if (entry.kind == kPlugIn && count == 1) return 0;
  entry.words.assign(words, words + (words ? count : 0));
  if (entry.kind == kData) SupplyBlock(entry);
  return 0;
}

// A data description is 1, its kind code, its size, and where the address
// of the host's block goes.
void StructureRegistry::SupplyBlock(Object& data) {
  if (data.words.size() < 4 || data.words[3] == 0) return;
  const size_t bytes = static_cast<size_t>(data.words[2]);
  if (bytes == 0 || bytes > (size_t{1} << 20)) return;
  if (!data.block || data.blockBytes != bytes) {
    data.block = std::make_unique<uint8_t[]>(bytes);
    std::memset(data.block.get(), 0, bytes);
    data.blockBytes = bytes;
  }
  void* block = data.block.get();
  std::memcpy(reinterpret_cast<void*>(data.words[3]), &block, sizeof(block));
}

// A plug-in: 1, the five words of its identification record, its inputs,
// outputs and workers. A worker: 6, the routine, 4, its data, inputs,
// outputs, a fourth set, the context and one more word.
bool StructureRegistry::ReadInstance(const std::vector<HostWord>& plugIn, Instance* instance) const {
  if (plugIn.size() < 6) return false;
  *instance = Instance();
  instance->manufacturerID = static_cast<uint32_t>(plugIn[1]);
  instance->uniqueID = static_cast<uint32_t>(plugIn[2]);
  instance->typeID = static_cast<uint32_t>(plugIn[3]);
  instance->hostContext = plugIn[4];
  instance->instanceNumber = static_cast<int32_t>(plugIn[5]);
  size_t at = 6;
  std::vector<void*> inputs, outputs, workers;
  if (!ReadSet(plugIn, &at, &inputs) || !ReadSet(plugIn, &at, &outputs) || !ReadSet(plugIn, &at, &workers)) {
    return false;
  }
  instance->inputs = inputs.size();
  instance->outputs = outputs.size();
  for (void* worker : workers) {
    auto it = mObjects.find(worker);
    if (it == mObjects.end() || it->second.kind != kWorker || it->second.words.size() < 3) continue;
    const std::vector<HostWord>& w = it->second.words;
    at = 3;
    std::vector<void*> data;
    if (!ReadSet(w, &at, &data)) continue;
    instance->routine = w[1];
    for (void* structure : data) {
      auto d = mObjects.find(structure);
      if (d != mObjects.end() && d->second.block) {
        instance->dataBlock = d->second.block.get();
        break;
      }
    }
    return instance->routine != 0;
  }
  return false;
}

const StructureRegistry::Instance* StructureRegistry::FindInstance(uint32_t typeID, int32_t instanceNumber) const {
  for (const auto& [object, entry] : mObjects) {
    if (entry.kind != kPlugIn) continue;
    Instance instance;
    if (ReadInstance(entry.words, &instance) && instance.typeID == typeID &&
        instance.instanceNumber == instanceNumber) {
      mFound = instance;
      return &mFound;
    }
  }
  return nullptr;
}
