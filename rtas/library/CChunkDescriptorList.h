#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rtas/library/HostRecords.h"

// One chunk the effect process describes to the host.
class CChunkDescriptor {
 public:
  CChunkDescriptor(bool present, int32_t word1, int32_t word2, std::string name)
      : mPresent(present), mWord1(word1), mWord2(word2), mName(std::move(name)) {}
  virtual ~CChunkDescriptor() = default;

  bool IsPresent() const { return mPresent; }
  int32_t GetWord1() const { return mWord1; }
  int32_t GetWord2() const { return mWord2; }
  const std::string& GetName() const { return mName; }

 private:
  bool mPresent;
  int32_t mWord1;
  int32_t mWord2;
  std::string mName;
};

// The effect process's chunk descriptors, owned, addressed from 0.
class CChunkDescriptorList {
 public:
  void InitChunkList() { mDescriptors.clear(); }
  void FreeChunkList() { mDescriptors.clear(); }
  void AddChunkDescriptor(std::unique_ptr<CChunkDescriptor> descriptor);
  int32_t GetChunkListCount() const { return static_cast<int32_t>(mDescriptors.size()); }
  // Fills the record for 0 <= n < count: the presence flag, and for a
  // present chunk its two words and its name (a Pascal string of at most
  // 255 characters). False, the record untouched, otherwise.
  bool GetChunkListEntry(int32_t n, SFicPlugInStemInfo* record) const;

 private:
  std::vector<std::unique_ptr<CChunkDescriptor>> mDescriptors;
};
