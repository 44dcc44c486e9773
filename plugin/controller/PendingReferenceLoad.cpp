#include "plugin/controller/PendingReferenceLoad.h"

void PendingReferenceLoad::Request(const char* path) {
  if (!path || !*path) return;
  mPendingReferencePath.Set(path);
  mReferenceLoadTicks = 0;
  mReferenceLoadState = kRequested;
}

void PendingReferenceLoad::Tick(Actions& actions) {
  if (mReferenceLoadState == kRequested) {
    // The first tick only counts, so the dialog can close and the editor
    // redraw before the load blocks the GUI thread.
    if (mReferenceLoadTicks++ <= 0) return;
    mReferenceLoadTicks = 0;
    mReferenceLoadState = kDue;
  }
  if (mReferenceLoadState != kDue) return;
  mReferenceLoadState = kLoading;
  // Copies: a request made while the message is up replaces the path, and
  // the load it leads to rewrites the status under the open message.
  const WDL_String path(mPendingReferencePath.Get());
  actions.LoadReferenceFile(path.Get());
  const WDL_String status(actions.GetCaptureStatus());
  actions.ShowMessageBox(path.Get(), status.Get());
  if (mReferenceLoadState == kLoading) {
    mReferenceLoadState = kIdle;
    mPendingReferencePath.Set("");
  }
}
