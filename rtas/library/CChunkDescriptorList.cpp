#include "rtas/library/CChunkDescriptorList.h"

#include "rtas/library/PString.h"

void CChunkDescriptorList::AddChunkDescriptor(std::unique_ptr<CChunkDescriptor> descriptor) {
  if (descriptor) mDescriptors.push_back(std::move(descriptor));
}

bool CChunkDescriptorList::GetChunkListEntry(int32_t n, SFicPlugInStemInfo* record) const {
  if (!record || n < 0 || n >= GetChunkListCount()) return false;
  const CChunkDescriptor& descriptor = *mDescriptors[n];
  record->mPresent = descriptor.IsPresent() ? 1 : 0;
  if (descriptor.IsPresent()) {
    record->mWord1 = descriptor.GetWord1();
    record->mWord2 = descriptor.GetWord2();
    CToPString(descriptor.GetName().c_str(), record->mName);
  }
  return true;
}
