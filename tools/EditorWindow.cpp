#include "tools/EditorWindow.h"

#include "editor/EditorLayout.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "platform/corefoundation/RunLoop.h"
#include "platform/windowserver/ScreenWindow.h"

EditorWindow::EditorWindow(Brimlow& plug) : mPlug(plug) {
  IGraphics* graphics = plug.GetGUI();
  const int width = static_cast<int>(Brimlow::kEditorWidth * plug.GuiScaleX());
  const int height = static_cast<int>(Brimlow::kEditorHeight * plug.GuiScaleY());
  if (graphics->Width() != width || graphics->Height() != height) {
    graphics->Resize(width, height, true);
    // What the plug-in's rebuild for a resize does: re-fit, then re-lay.
    EditorLayout::LayoutGUI(&plug, graphics, EditorLayout::kRescale);
    EditorLayout::UpdateViewLayout(&plug);
  }
  const Rect content{0, 0, static_cast<int16_t>(height), static_cast<int16_t>(width)};
  CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &mWindow);
  ShowWindow(mWindow);
  graphics->OpenWindowCarbon(mWindow, nullptr, 0, 0);
  graphics->SetAllControlsDirty(false);
  plug.ResizeGUIToScale();
  // The timer's first tick is due at once: the whole editor is drawn.
  platform::RunLoopPass();
}

EditorWindow::~EditorWindow() {
  if (IGraphics* graphics = mPlug.GetGUI()) graphics->CloseWindow();
  DisposeWindow(mWindow);
}

const platform::ScreenWindow& EditorWindow::Screen() const { return *platform::ScreenWindowOf(mWindow); }
