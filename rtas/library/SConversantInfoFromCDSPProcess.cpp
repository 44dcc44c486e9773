#include "rtas/library/SConversantInfoFromCDSPProcess.h"

#include <algorithm>

#include "rtas/library/CDSPProcess.h"
#include "rtas/library/CProcessGroupInterface.h"
#include "rtas/library/CProcessType.h"

namespace {

constexpr int32_t kSideChainFeature = 5;

}  // namespace

SConversantInfoFromCDSPProcess::SConversantInfoFromCDSPProcess(CDSPProcess& process) : mOwner(process) {
  mProcess = &process;
  if (CProcessGroupInterface* group = CProcessGroupInterface::GetGroupReference()) {
    group->GetTypeIDs(process.GetTypeIndex(), &mManufacturerID, &mProductID, &mTypeID);
    int32_t sideChain = 0;
    group->GetFeatureSupport(mTypeID, kSideChainFeature, &sideChain);
    mHasSideChain = sideChain > 0 ? 1 : 0;
    mSideChainIndex = std::max(sideChain, 0);
  }
  mAPI->mCreatePlugInSpec(this, &mSpec);
  mInstanceNumber = process.GetInstanceNumber();
  mInputCount = process.InputCount();
  mFirstInput = process.FirstInputPort();
  mOutputCount = process.OutputCount();
  mFirstOutput = process.FirstOutputPort();
}

uint8_t SConversantInfoFromCDSPProcess::IsFeatureSupported(int32_t feature) const {
  CProcessType* type = mOwner.GetProcessType();
  if (!type) return 0;
  int32_t answer = 0;
  type->QueryTypeFeature(feature, &answer);
  return static_cast<uint8_t>(answer);
}
