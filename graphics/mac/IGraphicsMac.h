#pragma once

#include "framework/containers/WDL_String.h"
#include "graphics/IGraphics.h"

// The platform half of the editor: paths, alerts and the redraw timer.
class IGraphicsMac : public IGraphics {
 public:
  IGraphicsMac(IPlugBase* plug, int width, int height, int fps);
  ~IGraphicsMac() override;

  int ShowMessageBox(const char* text, const char* caption, int type) override;
  void PluginFolderPath(WDL_String* path) override;
  void AppSupportPath(WDL_String* path) override;
  void UpdateFPS(int fps) override;

  void GetAppSupportPath(WDL_String* path) { AppSupportPath(path); }
  static void CreateDirectoryIfMissing(const WDL_String* path);

  // Set by the plug-in right after construction; the plug-in folder is
  // found by it.
  WDL_String mBundleID;
};
