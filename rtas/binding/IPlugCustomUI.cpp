#include "rtas/binding/IPlugCustomUI.h"

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "rtas/binding/IPlugProcess.h"
#include "rtas/binding/IPlugRTAS.h"

IPlugCustomUI::IPlugCustomUI(IPlugProcess* process, IPlugBase* plug, IGraphics* graphics)
    : mProcess(process), mPlug(plug), mGraphics(graphics) {}

IPlugCustomUI::~IPlugCustomUI() = default;

int32_t IPlugCustomUI::Open(void* window, int16_t x, int16_t y) {
  mWindow = window;
  if (mGraphics) {
    mGraphics->OpenWindowCarbon(window, nullptr, x, y);
    mGraphics->SetAllControlsDirty(false);
    // The plug-in's first fit to its scale resizes the editor, which asks
    // the process for a new window: this window closes again at once.
    if (mPlug) mPlug->ResizeGUIToScale();
  }
  return 1;
}

int32_t IPlugCustomUI::Close() {
  if (mWindow && mGraphics) {
    mGraphics->CloseWindow();
    mWindow = nullptr;
  }
  return 1;
}

void IPlugCustomUI::Draw(int32_t, int32_t, int32_t, int32_t) {
  if (mGraphics) mGraphics->SetAllControlsDirty(false);
}

void IPlugCustomUI::GetRect(int16_t* left, int16_t* top, int16_t* right, int16_t* bottom) {
  if (!mGraphics) return;
  if (left) *left = 0;
  if (top) *top = 0;
  if (right) *right = static_cast<int16_t>(mGraphics->Width());
  if (bottom) *bottom = static_cast<int16_t>(mGraphics->Height());
}

IPlugCustomUI* CreateCustomUI(IPlugProcess* process) {
  return new IPlugCustomUI(process, process->GetPlug(), process->GetPlugGraphics());
}
