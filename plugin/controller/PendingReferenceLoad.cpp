#include "plugin/controller/PendingReferenceLoad.h"

namespace {

constexpr int kTicksBeforeLoad = 2;

}  // namespace

void PendingReferenceLoad::Request(const char* path) {
  if (!path || !*path) return;
  mPendingReferencePath.Set(path);
  mReferenceLoadTicks = 0;
  mReferenceLoadState = kRequested;
}

void PendingReferenceLoad::Tick(Actions& actions) {
  switch (mReferenceLoadState) {
    case kRequested:
      if (++mReferenceLoadTicks >= kTicksBeforeLoad) {
        mReferenceLoadTicks = 0;
        mReferenceLoadState = kDue;
      }
      break;
    case kDue: {
      mReferenceLoadState = kLoading;
      // Copies: a request made while the message is up replaces the path,
      // and the load it leads to rewrites the status under the open message.
      const WDL_String path(mPendingReferencePath.Get());
      actions.LoadReferenceFile(path.Get());
      const WDL_String status(actions.GetCaptureStatus());
      actions.ShowMessageBox(path.Get(), status.Get());
      if (mReferenceLoadState == kLoading) {
        mReferenceLoadState = kIdle;
        mPendingReferencePath.Set("");
      }
      break;
    }
    default:
      break;
  }
}
