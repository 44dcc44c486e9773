#pragma once

#include "framework/containers/WDL_String.h"
#include "graphics/IGraphics.h"

// The platform half of the editor: paths and alerts. The window, its view
// and what needs one (the screen, menus, text entry, dialogs, cursor,
// images from the bundle) are not here yet: those slots answer as a closed
// window does.
class IGraphicsMac : public IGraphics {
 public:
  IGraphicsMac(IPlugBase* plug, int width, int height, int fps);
  ~IGraphicsMac() override;

  bool DrawScreen(IRECT*) override { return false; }
  void EndUserInput() override {}
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* area) override;
  void CreateTextEntry(IControl*, IText*, IRECT*, const char*, IParam*) override {}
  void PluginExecutablePath(WDL_String*) override {}
  void PluginFolderPath(WDL_String* path) override;
  void DesktopPath(WDL_String*) override {}
  void AppSupportPath(WDL_String* path) override;
  void PromptForFile(WDL_String* fileName, int action, WDL_String* folder, const char* extensions) override;
  bool PromptForColor(IColor*) override { return false; }
  bool OpenURL(const char*) override { return false; }
  void* OpenWindow(void*) override { return nullptr; }
  void CloseWindow() override {}
  void* GetWindow() override { return nullptr; }
  void UpdateFPS(int fps) override;
  void SetMouseCursor(int) override {}
  void SetWindowTransparency(int) override {}
  void UpdateTooltips() override {}
  LICE_IBitmap* LoadResourceBitmap(int, const char*) override { return nullptr; }

  void GetAppSupportPath(WDL_String* path) { AppSupportPath(path); }
  static void CreateDirectoryIfMissing(const WDL_String* path);

  // Set by the plug-in right after construction; the plug-in folder is
  // found by it.
  WDL_String mBundleID;
};
