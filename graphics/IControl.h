#pragma once

#include "framework/containers/WDL_String.h"
#include "framework/containers/WDL_TypedBuf.h"
#include "graphics/IChannelBlend.h"
#include "graphics/IMouseMod.h"
#include "graphics/IRECT.h"
#include "graphics/IRECTResize.h"
#include "graphics/IResize.h"
#include "graphics/IText.h"

class IGraphics;
class IPlugBase;
class ITextControlExt;

// The base of every element of the editor. A control bound to a parameter
// holds its normalised value; a user change reaches the plug-in only
// through SetDirty(true). A control that only notifies (a command tag)
// calls the plug-in's OnParamChange itself. The graphics core owns every
// attached control and calls its virtual operations on the GUI thread.
class IControl : public IResize {
 public:
  struct AuxParam {
    double mValue;  // normalised
    int mParamIdx;
  };

  // Draw and target rectangle start as the description's unscaled x, y,
  // width and height; a bound control takes its parameter's default.
  IControl(IPlugBase* plug, const IRECTResize& rect, int paramIdx = -1, const IChannelBlend& blend = IChannelBlend());
  // The rectangle as a form-0 description with every cell scaled.
  IControl(IPlugBase* plug, const IRECT& rect, int paramIdx = -1, const IChannelBlend& blend = IChannelBlend());
  ~IControl() override = default;

  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // ---- Events from the graphics core --------------------------------------
  // The right button opens the value prompt (when prompts are enabled).
  virtual void OnMouseDown(int x, int y, IMouseMod* mod);
  virtual void OnMouseUp(int, int, IMouseMod*) {}
  virtual void OnMouseDrag(int, int, int, int, IMouseMod*) {}
  // Back to the default value, when there is one.
  virtual void OnMouseDblClick(int x, int y, IMouseMod* mod);
  virtual void OnMouseWheel(int, int, IMouseMod*, int) {}
  virtual bool OnKeyDown(int, int, int) { return false; }
  virtual void OnMouseOver(int, int, IMouseMod*) {}
  virtual void OnMouseOut() {}
  virtual void OnDrop(const char*) {}
  // Concrete controls paint here with the graphics core's drawing calls. The
  // base draws nothing, so a plain control can stand for a parameter binding.
  virtual bool Draw(IGraphics*) { return true; }
  // Called after 21 consecutive redraw checks that found nothing dirty.
  virtual void OnGUIIdle() {}

  // ---- Value ----------------------------------------------------------------
  // The plug-in's value arrives: shown, never echoed back to the plug-in.
  // While the default is negative (none yet) the first value becomes it.
  virtual void SetValueFromPlug(double value);
  virtual double GetValue() const { return mValue; }
  // The user's value: clamped and pushed to the plug-in, when it differs.
  virtual void SetValueFromUserInput(double value);
  virtual void SetDefaultValue(double value) { mDefaultValue = value; }
  virtual void SetAuxParamValueFromPlug(int auxIdx, double value);
  // Text typed into an entry opened without a parameter.
  virtual void TextFromTextEntry(const char*) {}

  // ---- Redraw ---------------------------------------------------------------
  // Clamps the value and marks the control for redraw. With push, a bound
  // control sets its parameter through the plug-in and refreshes its value
  // and name display controls.
  virtual void SetDirty(bool push = true);
  // Drawn: stays dirty for one more frame when a redraw was pending.
  virtual void SetClean();
  virtual bool IsDirty() const { return mDirty; }

  // ---- Geometry and state ---------------------------------------------------
  virtual void SetRECT(const IRECT& rect);
  virtual bool IsHit(int x, int y) const { return mTargetRECT.Contains(x, y); }
  virtual void Hide(bool hide);
  virtual void SetDisabled(bool disabled);
  // A greyed control draws at a quarter weight and takes no clicks.
  virtual void GrayOut(bool gray);
  // Only the weight: the greyed flag stays as it is.
  virtual void SetGrayWeight(bool gray);

  // ---- Value prompt ---------------------------------------------------------
  // Over the draw rectangle for a parameter with display texts, else in a
  // 40 x 16 box centred on it. Nothing without a parameter, while prompts
  // are disabled (the initial state), or without a graphics core.
  void PromptUserInput();
  void PromptUserInput(const IRECT& rect);

  // ---- Binding --------------------------------------------------------------
  int ParamIdx() const { return mParamIdx; }
  double GetDefaultValue() const { return mDefaultValue; }
  void AddAuxParam(int paramIdx);
  int NAuxParams() const { return mAuxParams.GetSize(); }
  const AuxParam* GetAuxParam(int idx) const;
  // The first auxiliary entry bound to the parameter, or -1.
  int GetAuxParamIdx(int paramIdx) const;
  // Not owned; each shows the bound parameter's value text or name.
  void SetValueDisplayControl(ITextControlExt* control) { mValueDisplayControl = control; }
  void SetNameDisplayControl(ITextControlExt* control) { mNameDisplayControl = control; }

  // Where the control's pixels are on the screen: its rectangle when it
  // was last drawn (empty when it shows nothing) and all that its drawing
  // calls could reach then, which may pass the rectangle (text wider than
  // its box). The graphics core keeps both.
  const IRECT& GetDrawnRECT() const { return mDrawnRECT; }
  const IRECT& GetDrawnExtent() const { return mDrawnExtent; }
  void SetDrawn(const IRECT& rect, const IRECT& extent) {
    mDrawnRECT = rect;
    mDrawnExtent = extent;
  }

  bool IsHidden() const { return mHide; }
  bool IsDisabled() const { return mDisabled; }
  bool IsGrayed() const { return mGrayed; }
  bool IsRedrawPending() const { return mRedraw; }
  const IRECT& GetRECT() const { return mRECT; }
  const IRECT& GetTargetRECT() const { return mTargetRECT; }
  void SetTargetRECT(const IRECT& rect) { mTargetRECT = rect; }
  const IRECTResize& GetRECTResize() const { return mRECTResize; }
  // Only controls with the flag are re-placed when the GUI scale changes.
  bool GetRescale() const { return mRescale; }
  void SetRescale(bool rescale) { mRescale = rescale; }
  bool GetMOWhenGrayed() const { return mMOWhenGrayed; }
  void SetMOWhenGrayed(bool on) { mMOWhenGrayed = on; }
  bool GetDblAsSingleClick() const { return mDblAsSingleClick; }
  void SetDblAsSingleClick(bool on) { mDblAsSingleClick = on; }
  bool IsPromptDisabled() const { return mDisablePrompt; }
  void SetPromptDisabled(bool disabled) { mDisablePrompt = disabled; }
  void SetClampRange(double lo, double hi) {
    mClampLo = lo;
    mClampHi = hi;
  }
  int GetTextEntryLength() const { return mTextEntryLength; }
  IText* GetIText() { return &mText; }
  void SetIText(const IText& text) { mText = text; }
  const IChannelBlend* GetBlend() const { return &mBlend; }
  const char* GetTooltip() const { return mTooltip.Get(); }
  void SetTooltip(const char* text) { mTooltip.Set(text ? text : ""); }
  IPlugBase* GetPlug() const { return mPlug; }

 protected:
  IRECTResize mRECTResize;
  bool mRescale = true;
  int mTextEntryLength = 7;
  IText mText{12, kColorBlack, "Verdana", IText::kStyleNormal, IText::kAlignCenter};
  IPlugBase* mPlug;
  IRECT mRECT;        // what the control paints and dirty tracking reports
  IRECT mTargetRECT;  // what answers the hit test
  IRECT mDrawnRECT;   // where it was last drawn
  IRECT mDrawnExtent;  // and what its drawing could reach
  int mParamIdx;
  WDL_TypedBuf<AuxParam> mAuxParams{4096};
  double mValue = 0.0;
  double mDefaultValue = -1.0;  // negative: no default
  double mClampLo = 0.0;
  double mClampHi = 1.0;
  bool mDirty = true;
  bool mHide = false;
  bool mDisabled = false;
  bool mGrayed = false;
  bool mRedraw = false;  // keeps the control dirty for one frame after a draw
  bool mDisablePrompt = true;
  bool mDblAsSingleClick = false;
  bool mMOWhenGrayed = false;
  IChannelBlend mBlend;
  ITextControlExt* mValueDisplayControl = nullptr;
  ITextControlExt* mNameDisplayControl = nullptr;
  WDL_String mTooltip;
};
