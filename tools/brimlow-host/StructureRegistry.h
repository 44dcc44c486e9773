#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/protools/HostCallbacks.h"
#include "platform/protools/HostWords.h"

// The host's registry of the plug-in's native objects, handed out through
// the host callback (selector 18). Each object registers with its kind and
// describes itself as a list of words; the host keeps the latest
// description of each, and for a data structure supplies the block the
// structure lives in (it writes the block's address where the description
// asks). From the descriptions it finds, per instance, the identification
// record, the worker with its render routine and the worker's data.
class StructureRegistry {
 public:
  enum Kind : uint8_t { kPlugIn = 3, kInput = 4, kOutput = 5, kWorker = 7, kData = 8 };

  // What the host knows of one instance once its plug-in described itself.
  struct Instance {
    uint32_t manufacturerID = 0, uniqueID = 0, typeID = 0;
    HostWord hostContext = 0;
    int32_t instanceNumber = 0;
    size_t inputs = 0, outputs = 0;  // ports of the plug-in
    HostWord routine = 0;            // the worker's render routine
    void* dataBlock = nullptr;       // the worker's first data structure, in the host's block
  };

  StructureRegistry();
  ~StructureRegistry();
  StructureRegistry(const StructureRegistry&) = delete;
  StructureRegistry& operator=(const StructureRegistry&) = delete;

  SStructureRegistry* Interface() { return &mInterface.mFace; }

  // The instance of that type and number, as last described; null when no
  // plug-in object of it is registered.
  const Instance* FindInstance(uint32_t typeID, int32_t instanceNumber) const;

  size_t RegisteredCount() const { return mObjects.size(); }
  int32_t RegisterCalls() const { return mRegisterCalls; }
  int32_t DescribeCalls() const { return mDescribeCalls; }
  // Descriptions of unregistered objects, registrations of registered ones,
  // unregistrations of unknown ones: each a fault of the plug-in.
  int32_t Faults() const { return mFaults; }

 private:
  struct Object {
    uint8_t kind = 0;
    std::vector<HostWord> words;
    std::unique_ptr<uint8_t[]> block;
    size_t blockBytes = 0;
  };

  static int32_t RegisterThunk(SStructureRegistry* self, void* object, uint8_t kind);
  static int32_t UnregisterThunk(SStructureRegistry* self, void* object);
  static int32_t DescribeThunk(SStructureRegistry* self, void* object, const SWordArraySnapshot* description);
  static StructureRegistry* Of(SStructureRegistry* self);

  int32_t Register(void* object, uint8_t kind);
  int32_t Unregister(void* object);
  int32_t Describe(void* object, const SWordArraySnapshot* description);
  void SupplyBlock(Object& data);
  bool ReadInstance(const std::vector<HostWord>& plugIn, Instance* instance) const;

  // The interface the plug-in calls, with the way back to this registry.
  struct Face {
    SStructureRegistry mFace;
    StructureRegistry* mOwner;
  };

  Face mInterface;
  std::map<void*, Object> mObjects;
  int32_t mRegisterCalls = 0;
  int32_t mDescribeCalls = 0;
  int32_t mFaults = 0;
  mutable Instance mFound;
};
