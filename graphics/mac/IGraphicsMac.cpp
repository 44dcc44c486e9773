#include "graphics/mac/IGraphicsMac.h"

#include <string>

#include "platform/corefoundation/Bundle.h"
#include "platform/corefoundation/UserNotification.h"
#include "platform/foundation/SearchPaths.h"
#include "platform/posix/Directory.h"

IGraphicsMac::IGraphicsMac(IPlugBase* plug, int width, int height, int fps) : IGraphics(plug, width, height, fps) {}

IGraphicsMac::~IGraphicsMac() { StopIdleThread(); }

int IGraphicsMac::ShowMessageBox(const char* text, const char* caption, int type) {
  return platform::DisplayAlert(caption, text, type);
}

IPopupMenu* IGraphicsMac::CreateIPopupMenu(IPopupMenu*, IRECT*) {
  // The menu takes the mouse whether or not one can be shown.
  ReleaseMouseCapture();
  return nullptr;
}

void IGraphicsMac::PluginFolderPath(WDL_String* path) {
  const std::string folder = platform::BundleFolder(mBundleID.Get());
  if (!folder.empty()) path->Set(folder.c_str());
}

void IGraphicsMac::AppSupportPath(WDL_String* path) {
  const std::string folder = platform::ApplicationSupportFolder();
  if (!folder.empty()) path->Set(folder.c_str());
}

void IGraphicsMac::PromptForFile(WDL_String* fileName, int, WDL_String*, const char*) {
  // No window, no dialog: the caller sees a cancelled choice.
  if (fileName) fileName->Set("");
}

void IGraphicsMac::UpdateFPS(int fps) { mFPS = fps > 0 ? fps : 25; }

void IGraphicsMac::CreateDirectoryIfMissing(const WDL_String* path) {
  if (path) platform::CreateDirectoryIfMissing(path->Get());
}
