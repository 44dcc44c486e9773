#pragma once

#include <cstdint>
#include <memory>

#include "rtas/library/CSmartStructure.h"

// A smart structure shared with the host: its values live in a buffer it
// owns and are mirrored into a block the host may supply (found through
// the description). A read copies the host's value into the buffer first,
// so the buffer always holds what was last seen.
class CPlugInData : public CSmartStructure {
 public:
  // Registers itself (kind 8) with the host's structure registry.
  CPlugInData();
  ~CPlugInData() override;

  // Access before any field is declared throws the plain code -9060; a
  // buffer that cannot be made, -9006.
  int32_t ReadInt32(int32_t offset) override;
  void* ReadPointer(int32_t offset) override;
  float ReadFloat(int32_t offset) override;
  double ReadDouble(int32_t offset) override;
  void WriteInt32(int32_t offset, int32_t value) override;
  void WritePointer(int32_t offset, void* value) override;
  void WriteFloat(int32_t offset, float value) override;
  void WriteDouble(int32_t offset, double value) override;

  virtual int32_t GetKindCode() const { return 0; }
  // Hands the registry the words 1, the kind code, the layout size and the
  // address of the external-block pointer; a block the host supplies
  // during the call receives the whole buffer.
  virtual void DescribeToHost();
  virtual void CopyStorageToExternal();

  void* GetExternalBlock() const { return mExternalBlock; }
  // The registry kind this structure registers as.
  static constexpr uint8_t kRegistryKind = 8;

 private:
  unsigned char* Storage();
  template <class T>
  T Read(int32_t offset);
  template <class T>
  void Write(int32_t offset, T value);

  void* mExternalBlock = nullptr;
  std::unique_ptr<unsigned char[]> mStorage;
};
