#include "tools/brimlow-host/HostEditor.h"

#include "platform/corefoundation/RunLoop.h"
#include "platform/quickdraw/QuickDraw.h"
#include "platform/windowserver/ScreenWindow.h"
#include "tools/CommandError.h"
#include "tools/brimlow-host/StandInHost.h"

HostEditor::HostEditor(StandInHost& host, uint32_t typeID, int32_t instance)
    : mHost(host), mTypeID(typeID), mInstance(instance) {
  Rect frame{0, 0, 0, 0};
  const int32_t result = host.Call<uint32_t, int32_t, Rect*>(4, typeID, instance, &frame);
  mWidth = static_cast<int16_t>(frame.right - frame.left);
  mHeight = static_cast<int16_t>(frame.bottom - frame.top);
  if (result != 0 || mWidth <= 0 || mHeight <= 0) {
    throw CommandError("the plug-in has no editor to open (" + std::to_string(result) + ")");
  }
  const Rect content{0, 0, mHeight, mWidth};
  if (CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &mWindow) != 0 || !mWindow) {
    throw CommandError("no window for the editor");
  }
  ShowWindow(mWindow);
  Open();
  Service();
  // The timer's first tick is due at once: the whole editor is drawn.
  platform::RunLoopPass();
}

HostEditor::~HostEditor() {
  mHost.Call<uint32_t, int32_t, OpaqueGrafPtr*>(47, mTypeID, mInstance, nullptr);
  DisposeWindow(mWindow);
}

void HostEditor::Open() {
  mHost.Call<uint32_t, int32_t, OpaqueGrafPtr*>(47, mTypeID, mInstance, GetWindowPort(mWindow));
}

void HostEditor::Service() {
  // Each reopen may ask again; a plug-in fits itself only once.
  for (int round = 0; round < 4 && mHost.TakeWindowResizeRequests() > 0; ++round) {
    Fit();
    Open();
    ++mReopened;
  }
}

void HostEditor::Fit() {
  Rect frame{0, 0, 0, 0};
  if (mHost.Call<uint32_t, int32_t, Rect*>(4, mTypeID, mInstance, &frame) != 0) return;
  const int16_t width = static_cast<int16_t>(frame.right - frame.left);
  const int16_t height = static_cast<int16_t>(frame.bottom - frame.top);
  if (width <= 0 || height <= 0 || (width == mWidth && height == mHeight)) return;
  Rect bounds{0, 0, 0, 0};
  GetWindowBounds(mWindow, kWindowContentRgn, &bounds);
  bounds.right = static_cast<int16_t>(bounds.left + width);
  bounds.bottom = static_cast<int16_t>(bounds.top + height);
  SetWindowBounds(mWindow, kWindowContentRgn, &bounds);
  mWidth = width;
  mHeight = height;
}

void HostEditor::Advance(double seconds) {
  platform::AdvanceRunLoop(seconds);
  Service();
}

const platform::ScreenWindow& HostEditor::Screen() const { return *platform::ScreenWindowOf(mWindow); }
