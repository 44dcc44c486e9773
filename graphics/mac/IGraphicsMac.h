#pragma once

#include "framework/containers/WDL_HeapBuf.h"
#include "framework/containers/WDL_String.h"
#include "graphics/IGraphics.h"

class IGraphicsCarbon;
class IGraphicsCocoa_vBrimlow_rtas;
class NSWindow;
typedef struct CGColorSpace* CGColorSpaceRef;
typedef struct CGContext* CGContextRef;

// The Mac form of the editor window. It fills every platform slot of
// IGraphics and owns the one view the editor is shown in: the Carbon view
// in the host's window (the host's road, through OpenWindowCarbon) or the
// Cocoa view (OpenWindow, for other callers); never both. It puts the
// surface on the screen, shows the message box, menus, text entry, panels
// and colour picker, and answers paths, URLs and the bundle's images.
//
// Slots that only act on a Cocoa view (UpdateFPS, SetMouseCursor,
// SetWindowTransparency, UpdateTooltips) do nothing while the Carbon view
// is open.
class IGraphicsMac : public IGraphics {
 public:
  IGraphicsMac(IPlugBase* plug, int width, int height, int fps);
  ~IGraphicsMac() override;

  // The whole surface, whatever the rectangle; doubled for a screen of more
  // than 1.9 device pixels a point. False without a view or context.
  bool DrawScreen(IRECT* rect) override;
  bool MeasureIText(IText* text, const char* str, IRECT* rect) override;
  void EndUserInput() override;
  // The editor resizes, then the open view; the answer is always false.
  bool Resize(int width, int height, bool keepControls) override;
  bool WindowIsOpen() override;
  const char* GetGUIAPI() override;
  // type 1: OK and Cancel; 3: Yes, No and Cancel; 4: Yes and No; any other:
  // OK. The answer: 1 for the first button, 7 for the second, 2 for the
  // third, 0 when the alert was dismissed otherwise.
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* area) override;
  void CreateTextEntry(IControl* control, IText* text, IRECT* rect, const char* initialText,
                       IParam* param) override;
  void PluginExecutablePath(WDL_String* path) override;
  void PluginFolderPath(WDL_String* path) override;
  void DesktopPath(WDL_String* path) override;
  void AppSupportPath(WDL_String* path) override;
  void PromptForFile(WDL_String* fileName, int action, WDL_String* folder, const char* extensions) override;
  bool PromptForColor(IColor* color) override;
  // False when the text makes no URL or nothing opens it.
  bool OpenURL(const char* url) override;
  // parentView: an NSView, or null; the result is the new NSView.
  void* OpenWindow(void* parentView) override;
  // window: the host's WindowRef; parentControl: a ControlRef or null. The
  // result is the editor's HIView.
  void* OpenWindowCarbon(void* window, void* parentControl, short leftOffset = 0, short topOffset = 0) override;
  void AttachSubWindow(void* hostWindow) override;
  void RemoveSubWindow() override;
  void CloseWindow() override;
  void* GetWindow() override;
  void UpdateFPS(int fps) override;
  // 0 the arrow, 1 the diagonal resize cursor; anything else is ignored.
  void SetMouseCursor(int kind) override;
  void SetWindowTransparency(int alpha) override;
  void HideMouseCursor() override;
  void ShowMouseCursor() override;
  void UpdateTooltips() override;
  // A PNG named by the file name's last component without its extension, in
  // the plug-in bundle's resources; the resource id is not used.
  LICE_IBitmap* LoadResourceBitmap(int resourceID, const char* fileName) override;

  void GetAppSupportPath(WDL_String* path) { AppSupportPath(path); }
  // Under the process umask: the folder is never made writable for others
  // behind the user's back, and no other thread sees a changed umask.
  static void CreateDirectoryIfMissing(const WDL_String* path);

  // For the views.
  void SetFPS(int fps) { mFPS = fps > 0 ? fps : 25; }
  IGraphicsCarbon* GetCarbonView() const { return mGraphicsCarbon; }
  IGraphicsCocoa_vBrimlow_rtas* GetCocoaView() const { return mGraphicsCocoa; }
  // Changes whenever a view opens or closes: a view that calls into the
  // editor (which may close it) compares before and after.
  unsigned ViewGeneration() const { return mViewGeneration; }

  // Set by the plug-in right after construction; the plug-in's bundle (its
  // folder, executable and images) is found by it.
  WDL_String mBundleID;

 private:
  // The doubled copy of the surface, or null when it cannot be had; only
  // rows top to bottom (surface rows) are made afresh.
  const void* DoubledSurface(const void* bits, int width, int height, int rowSpan, int top, int bottom,
                             int* doubledRowSpan);
  CGContextRef CurrentContext() const;

  IGraphicsCarbon* mGraphicsCarbon = nullptr;
  // Counts every view opened or closed, so that a caller waiting on a view
  // can tell it went.
  unsigned mViewGeneration = 0;
  IGraphicsCocoa_vBrimlow_rtas* mGraphicsCocoa = nullptr;  // one reference held while open
  CGColorSpaceRef mColorSpace = nullptr;
  WDL_HeapBuf mScaledBits{4096};
  // The host window wrapped by AttachSubWindow; null until then, and again
  // once RemoveSubWindow has closed it.
  NSWindow* mHostNSWindow = nullptr;
};
