#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "framework/containers/WDL_PtrList.h"
#include "framework/containers/WDL_String.h"
#include "graphics/BitmapStorage.h"
#include "graphics/FontStorage.h"
#include "graphics/IGraphicsStructs.h"
#include "graphics/IIdleThread.h"

class IControl;
class IParam;
class IPlugBase;
class IPopupMenu;
class LICE_IBitmap;
class LICE_IFont;
class LICE_MemBitmap;
class LICE_SysBitmap;

// The platform-independent half of the editor: the control list and which
// controls are drawn, when and in which order; mouse, wheel and key
// dispatch; the binding of controls to parameters in both directions; the
// re-placing of controls for a GUI scale; the bitmap and font caches; the
// drawing surface every drawing call paints into; and a 10 ms idle thread
// for the plug-in. What touches a real window is a pure slot that the
// platform class (IGraphicsMac) fills.
//
// Everything here runs on the GUI thread except the idle thread, which only
// calls the plug-in's OnIdleThreadTick. The control list takes no lock.
class IGraphics {
 public:
  // Starts the idle thread; a frame rate that is not positive becomes 25.
  IGraphics(IPlugBase* plug, int width, int height, int fps);
  // Stops the idle thread before anything else goes, then deletes every
  // control, last to first, the surface and the caches.
  virtual ~IGraphics();

  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- Platform slots and their defaults -------------------------------------
  // Puts the draw surface on the screen.
  virtual bool DrawScreen(IRECT* rect) = 0;
  virtual bool MeasureIText(IText* text, const char* str, IRECT* rect);
  // Closes an open text entry without taking its text.
  virtual void EndUserInput() = 0;
  // Without keepControls every control is deleted (the caller rebuilds
  // them). The surface is made again; the host wrapper's answer is the result.
  virtual bool Resize(int width, int height, bool keepControls);
  // Deletes every control, makes the surface again and tells the plug-in.
  virtual void ResetControls();
  virtual bool WindowIsOpen() { return GetWindow() != nullptr; }
  virtual const char* GetGUIAPI() { return ""; }
  virtual int ShowMessageBox(const char* text, const char* caption, int type) = 0;
  // Shows the menu; returns the menu holding the chosen item (its chosen
  // index set), or null when nothing was chosen.
  virtual IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* area) = 0;
  // Opens an editable text field; when it is done the platform calls
  // SetFromStringAfterPrompt, or the control's TextFromTextEntry when no
  // parameter was given.
  virtual void CreateTextEntry(IControl* control, IText* text, IRECT* rect, const char* initialText,
                               IParam* param) = 0;
  virtual void PluginExecutablePath(WDL_String* path) = 0;
  virtual void PluginFolderPath(WDL_String* path) = 0;
  virtual void DesktopPath(WDL_String* path) = 0;
  virtual void AppSupportPath(WDL_String* path) = 0;
  // action 1 saves, any other opens; extensions are separated by blanks.
  virtual void PromptForFile(WDL_String* fileName, int action, WDL_String* folder, const char* extensions) = 0;
  virtual bool PromptForColor(IColor* color) = 0;
  virtual bool OpenURL(const char* url) = 0;
  virtual void* OpenWindow(void* parentView) = 0;
  virtual void* OpenWindowCarbon(void*, void*, short = 0, short = 0) { return nullptr; }
  virtual void AttachSubWindow(void*) {}
  virtual void RemoveSubWindow() {}
  virtual void CloseWindow() = 0;
  virtual void* GetWindow() = 0;
  virtual void UpdateFPS(int fps) = 0;
  virtual void SetMouseCursor(int kind) = 0;
  virtual void SetWindowTransparency(int alpha) = 0;
  virtual void HideMouseCursor() {}
  virtual void ShowMouseCursor() {}
  virtual void UpdateTooltips() = 0;
  // A new bitmap read from the editor's resources, owned by the caller, or
  // null when the resource is missing or cannot be read.
  virtual LICE_IBitmap* LoadResourceBitmap(int resourceID, const char* fileName) = 0;

  // ---- Drawing surface ---------------------------------------------------------
  // Makes the surface of the editor's size and an empty scratch bitmap. The
  // plug-in calls it when it attaches the graphics object.
  void PrepDraw();
  LICE_SysBitmap* GetDrawBitmap() const { return mDrawBitmap; }
  // The area of the Draw in progress. While a Draw runs, every drawing
  // call below changes only pixels inside it, each exactly as it would
  // when drawn whole; outside a Draw only bitmaps are clipped to it.
  const IRECT& GetDrawRECT() const { return mDrawRECT; }

  // ---- Drawing calls (from a control's Draw) -------------------------------------
  // Each is one or a few raster calls on the surface and returns true; a
  // blend of null copies with source alpha at full weight.
  bool DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY, const IChannelBlend* blend = nullptr);
  // Frames are numbered from 1 along the bitmap's frame axis.
  bool DrawBitmapFrame(IBitmap* bitmap, IRECT* dest, int frame, const IChannelBlend* blend = nullptr);
  bool DrawLine(const IColor* color, float x1, float y1, float x2, float y2, const IChannelBlend* blend = nullptr,
                bool antiAlias = false);
  // The alpha comes from the colour; the blend gives only its method.
  bool DrawLineColorAlpha(const IColor* color, float x1, float y1, float x2, float y2,
                          const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool DrawLineFloat(const IColor* color, float x1, float y1, float x2, float y2,
                     const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool FillIRect(const IColor* color, const IRECT* rect, const IChannelBlend* blend = nullptr);
  bool FillRoundRect(const IColor* color, const IRECT* rect, const IChannelBlend* blend, int cornerRadius,
                     bool antiAlias);
  bool FillCircle(const IColor* color, int cx, int cy, float radius, const IChannelBlend* blend = nullptr,
                  bool antiAlias = false);
  bool FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                    const IChannelBlend* blend = nullptr);
  // With measure set nothing is drawn: the rectangle is set to the text's
  // extent placed by the style's alignment. False when no font can be made.
  bool DrawIText(IText* text, const char* str, IRECT* rect, bool measure = false);

  // ---- Controls ----------------------------------------------------------------
  // The graphics object owns the control from here on; -1 (and the control
  // deleted) when the list cannot grow.
  int AttachControl(IControl* control);
  // A panel of the colour over the whole editor, inserted as control 0; it
  // is never re-placed by a rescale.
  void AttachPanelBackground(const IColor* color);
  IControl* GetControl(int idx) const { return mControls.Get(idx); }
  int NControls() const { return mControls.GetSize(); }
  // The first control bound to the parameter, or null.
  IControl* GetControlOfParam(int paramIdx) const;
  void GrayOutControl(int paramIdx, bool gray);
  void SetAllControlsDirty(bool push);

  // ---- Parameter binding -----------------------------------------------------------
  // Every control bound to the parameter (or listing it as auxiliary) takes
  // the value without notifying the plug-in. Plain values are normalised
  // by the parameter first.
  void SetParameterFromPlug(int paramIdx, double value, bool normalized);
  // As user input: each bound control sets the parameter, tells the host
  // and calls the plug-in's OnParamChange. No bound control: no change.
  void SetParameterViaControls(int paramIdx, double value, bool normalized);
  void SetControlFromPlug(int controlIdx, double normalizedValue);

  // ---- Value prompts --------------------------------------------------------------
  // A popup of the display texts for an enumeration (or a two-state
  // parameter with display texts), otherwise a text entry.
  void PromptUserInput(IControl* control, IParam* param, IRECT* rect);
  // The platform hands back the typed text. Display texts map to their
  // value (an unknown text to 0); numbers may carry a k for thousands
  // ("2k5" is 2500). A text that holds no number leaves the value alone.
  void SetFromStringAfterPrompt(IControl* control, IParam* param, const char* text);

  // ---- Bitmaps and fonts --------------------------------------------------------------
  // The pixels are loaded once per identifier and shared. A resource that
  // cannot be read gives a bitmap of size 0 without pixels, which draws
  // nothing, so the editor still opens with an image missing.
  IBitmap LoadBitmap(int resourceID, const char* fileName, int nStates = 1, bool framesAreHorizontal = false);
  // A filtered copy at the given size, made once per (identifier, size).
  IBitmap ScaleBitmap(const IBitmap* source, int width, int height);
  // The layout calls it before every rescale.
  void ClearScaledBitmapCache();
  // The font for a text style, made once per (size, orientation, style,
  // face) and stored in the style; null when the platform has no such font.
  LICE_IFont* CacheFont(IText* text);

  // ---- Events (editor pixels, origin at the top left) ------------------------------
  void OnMouseDown(int x, int y, IMouseMod* mod);
  void OnMouseUp(int x, int y, IMouseMod* mod);
  void OnMouseDrag(int x, int y, IMouseMod* mod);
  // True when the control takes the double-click as a mouse-down.
  bool OnMouseDblClick(int x, int y, IMouseMod* mod);
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d);
  // The handle-mouse-over flag.
  bool OnMouseOver(int x, int y, IMouseMod* mod);
  bool OnKeyDown(int x, int y, int key);
  void OnDrop(const char* path, int x, int y);
  // The captured control's parameter, else the topmost hit control's (the
  // background and no control give -1); kept for TakeParamIdxAtPoint.
  int FindParamIdxAtPoint(int x, int y);
  int TakeParamIdxAtPoint();
  // The platform calls it after a popup menu took the mouse.
  void ReleaseMouseCapture();
  int GetMouseCapture() const { return mMouseCapture; }
  int GetMouseOver() const { return mMouseOver; }

  // ---- Redraw ------------------------------------------------------------------
  // Every platform timer tick, before IsDirty: the plug-in's GUI hook.
  void OnGUIIdle();
  // Unions into area the draw rectangles of the dirty, visible, enabled
  // controls, and what a control last painted where it no longer paints
  // (it was hidden, disabled or moved). After 20 quiet checks in a row the
  // 21st calls every control's OnGUIIdle and starts the count again.
  bool IsDirty(IRECT* area);
  // What the last IsDirty found, as rectangles apart from one another (one,
  // their union, when there are many): only they need drawing, each with
  // its own Draw.
  const std::vector<IRECT>& DirtyAreas() const { return mDirtyAreas; }
  // Draws, in attachment order, every visible, enabled control that meets
  // the area, clipped to it, and marks it clean, then puts the area on the
  // screen. After a resize or a reset IsDirty reports the whole surface.
  bool Draw(IRECT* area);
  // Re-places every control that has the rescale flag for the scale.
  void RescaleControls(int baseWidth, int baseHeight, double scaleX, double scaleY);

  // ---- Scales -----------------------------------------------------------------------
  void SetGUIScale(double scaleX, double scaleY) {
    mGUIScaleX = scaleX;
    mGUIScaleY = scaleY;
  }
  double GetGUIScaleX() const { return mGUIScaleX; }
  double GetGUIScaleY() const { return mGUIScaleY; }
  // Copied into every IBitmap handed out (the editor's images are drawn at 2).
  void SetBitmapScale(double scaleX, double scaleY) {
    mBitmapScaleX = scaleX;
    mBitmapScaleY = scaleY;
  }
  double GetBitmapScaleX() const { return mBitmapScaleX; }
  double GetBitmapScaleY() const { return mBitmapScaleY; }

  // ---- Key routing ------------------------------------------------------------------
  // The catcher (owned) gets keys no other control takes; the focus control
  // (not owned) gets every key first.
  void SetKeyCatcher(IControl* control);
  void SetKeyFocus(IControl* control) { mKeyFocus = control; }

  void SetHandleMouseOver(bool on) { mHandleMouseOver = on; }
  bool GetHandleMouseOver() const { return mHandleMouseOver; }
  void SetAcceptDrops(bool on) { mAcceptDrops = on; }
  bool GetAcceptDrops() const { return mAcceptDrops; }

  void StopIdleThread() { mIdleThread.Stop(); }
  bool IsIdleThreadRunning() const { return mIdleThread.IsRunning(); }

  IPlugBase* GetPlug() const { return mPlug; }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }

  // The last mouse event, read by the plug-in's band edits and commands.
  bool mMouseDown = false;
  IMouseMod mLastMouseMod;
  bool mShowTooltips = false;
  // Set once tooltips were switched on; the platform window reads it.
  bool mTooltipsActive = false;

 protected:
  // The topmost visible, ungreyed control under the point, or -1.
  int GetMouseControlIdx(int x, int y, bool mouseOver = false) const;
  // The captured control, else the hit-tested one.
  int CaptureOrHit(int x, int y) const;
  // Deletes every control last to first, ending an edit the host was told of.
  void DeleteControls();
  void DeleteDrawBitmaps();
  // Adds what a drawing call can reach to mExtent (Draw cuts it to the
  // surface).
  void Reach(const IRECT& reach) {
    if (!mDrawing || reach.Empty()) return;
    if (mExtent.Empty()) {
      mExtent = reach;
      return;
    }
    mExtent.L = std::min(mExtent.L, reach.L);
    mExtent.T = std::min(mExtent.T, reach.T);
    mExtent.R = std::max(mExtent.R, reach.R);
    mExtent.B = std::max(mExtent.B, reach.B);
  }
  // Around a raster call that changes pixels only within reach: false when
  // a Draw is in progress and none of them lies in its area; when some lie
  // outside, they are kept aside for EndReach to put back. Inline for the
  // usual call, well inside the area.
  bool BeginReach(const IRECT& reach) {
    if (!mDrawing) return true;
    Reach(reach);
    const IRECT& a = mDrawRECT;
    if (reach.L >= a.L && reach.T >= a.T && reach.R <= a.R && reach.B <= a.B) return true;
    return KeepAsideOutsideArea(reach);
  }
  void EndReach() {
    if (!mSavedReach.Empty()) PutBackOutsideArea();
  }
  bool KeepAsideOutsideArea(const IRECT& reach);
  void PutBackOutsideArea();

  IPlugBase* mPlug;
  int mWidth;
  int mHeight;
  int mFPS;
  WDL_PtrList<IControl> mControls;

  // The cursor state the platform window keeps while it hides the cursor.
  bool mCursorHidden = false;
  int mHiddenMousePosX = -1;
  int mHiddenMousePosY = -1;

 private:
  // Plain values are normalised by their parameter; false for a bad index.
  bool NormalizeForParam(int paramIdx, double& value, bool normalized) const;
  // The host hears of an edit's end exactly once for each begin it heard.
  void BeginParamEdit(int paramIdx);
  void EndParamEdit();
  static void IdleTick(void* graphics);

  bool mRescaling = false;
  double mGUIScaleX = 1.0;
  double mGUIScaleY = 1.0;
  double mBitmapScaleX = 1.0;
  double mBitmapScaleY = 1.0;
  IRECT mDrawRECT;
  static constexpr size_t kMaxDirtyAreas = 8;
  std::vector<IRECT> mDirtyAreas;
  bool mDrawing = false;     // a Draw is in progress: its area clips
  bool mSurfaceRemade = false;  // resized or reset: IsDirty reports all of it
  IRECT mSavedReach;         // what BeginReach kept aside, empty when nothing
  IRECT mExtent;             // all the drawing calls of the control being drawn reach
  LICE_SysBitmap* mDrawBitmap = nullptr;
  LICE_MemBitmap* mTmpBitmap = nullptr;
  int mIdleTicks = 0;
  int mMouseCapture = -1;
  int mMouseOver = -1;
  int mMouseX = -1;
  int mMouseY = -1;
  int mLastParamIdxAtPoint = -1;
  // The parameter whose begin-edit the host was sent, -1 when none.
  int mEditParamIdx = -1;
  bool mPopupOpen = false;
  bool mHandleMouseOver = false;
  bool mAcceptDrops = false;
  IControl* mKeyCatcher = nullptr;
  IControl* mKeyFocus = nullptr;
  BitmapStorage mLoadedBitmaps;
  FontStorage mFonts;
  BitmapStorage mScaledBitmaps;
  IIdleThread mIdleThread;
};
