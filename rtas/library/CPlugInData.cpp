#include "rtas/library/CPlugInData.h"

#include <cstring>
#include <new>

#include "rtas/library/CStructureRegistry.h"
#include "rtas/library/CWordList.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/ResultCodes.h"

// The registry's answers do not matter: without it the data still works,
// only the host does not see it.
CPlugInData::CPlugInData() { CStructureRegistry::Register(this, kRegistryKind); }

CPlugInData::~CPlugInData() { CStructureRegistry::Unregister(this); }

unsigned char* CPlugInData::Storage() {
  if (!mStorage) {
    if (GetLayoutSize() == 0) ThrowPlainCode(static_cast<int16_t>(DAEResult::kNoData));
    unsigned char* storage = new (std::nothrow) unsigned char[GetLayoutSize()]();
    if (!storage) ThrowPlainCode(static_cast<int16_t>(DAEResult::kOutOfMemory));
    mStorage.reset(storage);
  }
  return mStorage.get();
}

template <class T>
T CPlugInData::Read(int32_t offset) {
  unsigned char* storage = Storage();
  // Offsets come from declared fields; one outside the layout reads 0.
  if (offset < 0 || offset + static_cast<int32_t>(sizeof(T)) > GetLayoutSize()) return T();
  if (mExternalBlock) std::memcpy(storage + offset, static_cast<unsigned char*>(mExternalBlock) + offset, sizeof(T));
  T value;
  std::memcpy(&value, storage + offset, sizeof(T));
  return value;
}

template <class T>
void CPlugInData::Write(int32_t offset, T value) {
  unsigned char* storage = Storage();
  if (offset < 0 || offset + static_cast<int32_t>(sizeof(T)) > GetLayoutSize()) return;
  if (mExternalBlock) std::memcpy(static_cast<unsigned char*>(mExternalBlock) + offset, &value, sizeof(T));
  std::memcpy(storage + offset, &value, sizeof(T));
}

int32_t CPlugInData::ReadInt32(int32_t offset) { return Read<int32_t>(offset); }
void* CPlugInData::ReadPointer(int32_t offset) { return Read<void*>(offset); }
float CPlugInData::ReadFloat(int32_t offset) { return Read<float>(offset); }
double CPlugInData::ReadDouble(int32_t offset) { return Read<double>(offset); }
void CPlugInData::WriteInt32(int32_t offset, int32_t value) { Write(offset, value); }
void CPlugInData::WritePointer(int32_t offset, void* value) { Write(offset, value); }
void CPlugInData::WriteFloat(int32_t offset, float value) { Write(offset, value); }
void CPlugInData::WriteDouble(int32_t offset, double value) { Write(offset, value); }

void CPlugInData::DescribeToHost() {
  CWordList words;
  words.AddWord(1);
  words.AddWord(static_cast<uint32_t>(GetKindCode()));
  words.AddWord(static_cast<uint32_t>(GetLayoutSize()));
  words.AddPointer(&mExternalBlock);
  const void* before = mExternalBlock;
  CStructureRegistry::Describe(this, words.MakeArray());
  if (mExternalBlock != before) CopyStorageToExternal();
}

void CPlugInData::CopyStorageToExternal() {
  if (mStorage && mExternalBlock) std::memcpy(mExternalBlock, mStorage.get(), GetLayoutSize());
}
