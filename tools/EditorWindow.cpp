#include "tools/EditorWindow.h"

#include "graphics/IGraphics.h"
#include "platform/corefoundation/RunLoop.h"
#include "platform/windowserver/ScreenWindow.h"

EditorWindow::EditorWindow(Brimlow& plug) : mPlug(plug) {
  IGraphics* graphics = plug.GetGUI();
  mPlug.SetEditorWindowHost(this);
  mWantedWidth = graphics->Width();
  mWantedHeight = graphics->Height();
  Open(mWantedWidth, mWantedHeight);
  // The first open fits the editor to the GUI scale, which asks for a
  // window of the new size.
  plug.ResizeGUIToScale();
  Service();
  // The timer's first tick is due at once: the whole editor is drawn.
  platform::RunLoopPass();
}

EditorWindow::~EditorWindow() {
  mPlug.SetEditorWindowHost(nullptr);
  Close();
}

void EditorWindow::RequestEditorResize(int width, int height) {
  mWantedWidth = width;
  mWantedHeight = height;
}

void EditorWindow::Service() {
  if (mWantedWidth == mWidth && mWantedHeight == mHeight) return;
  Close();
  Open(mWantedWidth, mWantedHeight);
}

void EditorWindow::Open(int width, int height) {
  IGraphics* graphics = mPlug.GetGUI();
  const Rect content{0, 0, static_cast<int16_t>(height), static_cast<int16_t>(width)};
  CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &mWindow);
  ShowWindow(mWindow);
  graphics->OpenWindowCarbon(mWindow, nullptr, 0, 0);
  graphics->SetAllControlsDirty(false);
  mWidth = width;
  mHeight = height;
}

void EditorWindow::Close() {
  if (!mWindow) return;
  if (IGraphics* graphics = mPlug.GetGUI()) graphics->CloseWindow();
  DisposeWindow(mWindow);
  mWindow = nullptr;
  mWidth = mHeight = 0;
}

const platform::ScreenWindow& EditorWindow::Screen() const { return *platform::ScreenWindowOf(mWindow); }
