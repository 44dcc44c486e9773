#include "editor/EditorLayout.h"

#include <cstdint>
#include <cstdio>

#include "editor/EditorControls.h"
#include "editor/IAnalyzerMenu.h"
#include "editor/IExtPresetMenuNew1.h"
#include "editor/IMyHelpMenuTTScaleOS.h"
#include "editor/IMyPopupMenu.h"
#include "editor/IParameterButtonExtStepped.h"
#include "editor/display/IScope.h"
#include "framework/containers/WDL_Mutex.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/IBackgroundControl.h"
#include "graphics/controls/IBitmapControlClick1.h"
#include "graphics/controls/IBitmapControlExt.h"
#include "graphics/controls/IBitmapControlSlider2.h"
#include "graphics/controls/IClickControl.h"
#include "graphics/controls/IInvisibleClickControl.h"
#include "graphics/controls/IKnobMultiControlText_New.h"
#include "graphics/controls/IParameterButtonExt.h"
#include "graphics/controls/IParameterButtonExtHz.h"
#include "graphics/controls/ISwitchControl_Ext.h"
#include "graphics/controls/ISwitchControl_ExtActive.h"
#include "graphics/controls/ITextControlClick.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/EQCurve.h"
#include "plugin/engine/ParamIndex.h"
#include "plugin/engine/SpectrumAnalyzer.h"

namespace EditorLayout {

namespace {

// ---- Images: id, file, frames -------------------------------------------------

struct BitmapSpec {
  int id;
  const char* file;
  int frames;
};

constexpr BitmapSpec kBackground{101, "resources/img/background.png", 1};
constexpr BitmapSpec kBackgroundLarge{102, "resources/img/background1.png", 1};
constexpr BitmapSpec kPresetsButton{114, "resources/img/button_presets.png", 2};
constexpr BitmapSpec kPreviousButton{115, "resources/img/button_previous.png", 2};
constexpr BitmapSpec kNextButton{116, "resources/img/button_next.png", 2};
constexpr BitmapSpec kOversamplingSelector{103, "resources/img/selector_os.png", 3};
constexpr BitmapSpec kFilterModeSelector{107, "resources/img/selector_filtermode.png", 7};
constexpr BitmapSpec kChannelSelector{108, "resources/img/filter_source.png", 5};
constexpr BitmapSpec kPhaseSelector{109, "resources/img/selector_phaseinvert.png", 2};
constexpr BitmapSpec kBandFrame{113, "resources/img/bandframe.png", 2};
constexpr BitmapSpec kBandSwitch{104, "resources/img/simple_knob.png", 2};
constexpr BitmapSpec kSoloSwitch{135, "resources/img/solo_knob.png", 2};
constexpr BitmapSpec kTypeSelector{105, "resources/img/filter_selector.png", 16};
constexpr BitmapSpec kSlopeSelector{106, "resources/img/selector_slope.png", 16};
constexpr BitmapSpec kScaleKnob{120, "resources/img/scale.png", 101};
constexpr BitmapSpec kOffsetKnob{121, "resources/img/offset.png", 101};
constexpr BitmapSpec kLinkSwitch{119, "resources/img/linkEQ.png", 2};
constexpr BitmapSpec kFreezeButton{110, "resources/img/Freeze.png", 2};
constexpr BitmapSpec kBypassButton{112, "resources/img/bypass.png", 2};
constexpr BitmapSpec kResetButton{111, "resources/img/Reset.png", 2};
constexpr BitmapSpec kCurveButtons[5] = {{122, "resources/img/showcurveall.png", 2},
                                         {123, "resources/img/showcurveleft.png", 2},
                                         {124, "resources/img/showcurveright.png", 2},
                                         {125, "resources/img/showcurvemid.png", 2},
                                         {126, "resources/img/showcurveside.png", 2}};
constexpr BitmapSpec kSetupButton{118, "resources/img/setup_button.png", 2};
constexpr BitmapSpec kZoomOut{136, "resources/img/zoomminus.png", 2};
constexpr BitmapSpec kZoomIn{137, "resources/img/zoomplus.png", 2};
constexpr BitmapSpec kZoomReset{138, "resources/img/zoomreset.png", 2};
constexpr BitmapSpec kResizeButton{117, "resources/img/resize_button.png", 2};
constexpr BitmapSpec kMeterLit{127, "resources/img/meter1_in_a.png", 1};
constexpr BitmapSpec kMeterInput{128, "resources/img/meter2_in_n.png", 1};
constexpr BitmapSpec kMeterOutput{129, "resources/img/meter2_gr_n1.png", 1};
constexpr BitmapSpec kOverLED{131, "resources/img/peak_LED.png", 11};
constexpr BitmapSpec kMeterModeSelector{130, "resources/img/mastermetermode.png", 5};
constexpr BitmapSpec kMeterChannelSelector{132, "resources/img/mastermetechannelrmode.png", 6};
constexpr BitmapSpec kLoudnessSelector{133, "resources/img/ab_lm.png", 3};

// The plug-in's GUI scale into the editor, with the bitmap scale its images
// are drawn at. "GUI Scale" may change on another thread, under the plug
// mutex.
void CopyScales(Brimlow* plug, IGraphics* graphics, double* sx, double* sy) {
  {
    WDL_MutexLock lock(plug->GetMutex());
    *sx = plug->GuiScaleX();
    *sy = plug->GuiScaleY();
  }
  graphics->SetGUIScale(*sx, *sy);
  graphics->SetBitmapScale(kBitmapScale, kBitmapScale);
}

IBitmap Load(IGraphics* graphics, const BitmapSpec& spec) {
  return graphics->LoadBitmap(spec.id, spec.file, spec.frames);
}

// ---- Command tags ---------------------------------------------------------------

constexpr int kTagLogo = 140;
constexpr int kTagSaveDefault = 143;
constexpr int kTagSaveReference = 145;
constexpr int kTagLoadReference = 146;
constexpr int kTagResetView = 147;
constexpr int kTagAnalyzerReset = 148;
constexpr int kTagInputBar = 149;
constexpr int kTagInputHeld = 150;
constexpr int kTagInputText = 151;
constexpr int kTagInputLED = 152;
constexpr int kTagOutputBar = 153;
constexpr int kTagOutputHeld = 154;
constexpr int kTagOutputText = 155;
constexpr int kTagOutputLED = 156;
constexpr int kTagEQZoomOut = 157;
constexpr int kTagEQZoomIn = 158;
constexpr int kTagFreqZoomOut = 159;
constexpr int kTagFreqZoomIn = 160;
constexpr int kTagViewReset = 161;

// ---- Geometry at 100 % --------------------------------------------------------------

constexpr int kScopeL = 92, kScopeT = 84, kScopeR = 789;
constexpr int kScopeCompactB = 428, kScopeLargeB = 604;
// The display's axis starts where the analyser's lowest point lies.
constexpr double kScopeFreqMin = SpectrumAnalyzer::kLowestPointHz;
constexpr double kScopeFreqMax = 30000.0;

struct Point {
  int x, y;
};
// All, left, right, mid, side.
constexpr Point kCurveButtonAt[2][5] = {{{709, 435}, {725, 435}, {741, 435}, {757, 435}, {773, 435}},
                                        {{709, 612}, {725, 612}, {741, 612}, {757, 612}, {773, 612}}};
// EQ zoom out, EQ zoom in, frequency zoom out, frequency zoom in, view reset.
constexpr Point kZoomButtonAt[2][5] = {{{772, 377}, {772, 395}, {736, 413}, {754, 413}, {772, 413}},
                                       {{772, 554}, {772, 572}, {736, 590}, {754, 590}, {772, 590}}};

IRECT XYWH(int x, int y, int w, int h) { return IRECT(x, y, x + w, y + h); }

// ---- Text styles ----------------------------------------------------------------------

IText Style(int size, const IColor& color, int style, int align, int vAlign, int quality) {
  IText text(size, color, "Verdana", style, align, 0, quality);
  text.mVAlign = vAlign;
  return text;
}

struct Styles {
  IText presetName = Style(14, IColor(255, 159, 160, 161), IText::kStyleBold, IText::kAlignCenter,
                           IText::kVAlignMiddle, IText::kQualityClearType);
  IText readout = Style(13, IColor(255, 255, 255, 255), IText::kStyleBold, IText::kAlignCenter, IText::kVAlignMiddle,
                        IText::kQualityClearType);
  IText accent = Style(13, IColor(255, 195, 185, 114), IText::kStyleBold, IText::kAlignCenter, IText::kVAlignMiddle,
                       IText::kQualityClearType);
  IText bandOn = Style(14, IColor(255, 0, 0, 0), IText::kStyleBold, IText::kAlignCenter, IText::kVAlignMiddle,
                       IText::kQualityClearType);
  IText bandOff = Style(14, IColor(255, 127, 127, 127), IText::kStyleBold, IText::kAlignCenter,
                        IText::kVAlignMiddle, IText::kQualityClearType);
  IText knobValue = Style(13, EditorControls::HexToIColor("#c5c6c7", 255), IText::kStyleNormal, IText::kAlignCenter,
                          IText::kVAlignTop, IText::kQualityClearType);
  IText meterMax = Style(13, IColor(255, 255, 255, 255), IText::kStyleNormal, IText::kAlignFar, IText::kVAlignMiddle,
                         IText::kQualityDefault);
  IColor knobBox = EditorControls::HexToIColor("#13161a", 128);
};

// Attaches the control, gives it its tooltip and answers its index.
int Attach(IGraphics* graphics, IControl* control, const char* tooltip = nullptr) {
  const int idx = graphics->AttachControl(control);
  if (tooltip) control->SetTooltip(tooltip);
  return idx;
}

IMyPopupMenu* Popup(Brimlow* plug, IGraphics* graphics, int x, int y, int param, const BitmapSpec& spec) {
  IBitmap bitmap = Load(graphics, spec);
  return new IMyPopupMenu(plug, x, y, param, &bitmap, true, false, false);
}

IKnobMultiControlText_New* Knob(Brimlow* plug, IGraphics* graphics, const Styles& styles, int x, int y, int param,
                                const BitmapSpec& spec) {
  IBitmap bitmap = Load(graphics, spec);
  return new IKnobMultiControlText_New(plug, x, y, param, &bitmap, &styles.knobValue, &styles.knobBox, true, 0, 8.0);
}

ISwitchControl_Ext* Switch(Brimlow* plug, IGraphics* graphics, int x, int y, int param, const BitmapSpec& spec) {
  IBitmap bitmap = Load(graphics, spec);
  return new ISwitchControl_Ext(plug, x, y, param, &bitmap);
}

IClickControl* Click(Brimlow* plug, IGraphics* graphics, int x, int y, int tag, const BitmapSpec& spec) {
  IBitmap bitmap = Load(graphics, spec);
  return new IClickControl(plug, x, y, tag, &bitmap);
}

void AttachBandStrip(Brimlow* plug, IGraphics* graphics, const Styles& styles) {
  for (int b = 0; b < kNumBands; ++b) {
    const int X = 64 * b;
    const int P = 8 * b;
    int* idx = plug->mBandControlIdx[b];
    IBitmap frame = Load(graphics, kBandFrame);
    idx[0] = Attach(graphics, new IBitmapControlExt(plug, X + 61, 452, &frame, IChannelBlend::kBlendNone));
    plug->mBandFrameControls[b] = idx[0];

    char label[8];
    std::snprintf(label, sizeof label, "%d", b + 1);
    IBitmap onOff = Load(graphics, kBandSwitch);
    idx[1] = Attach(graphics,
                    new ISwitchControl_ExtActive(plug, X + 64, 458, P + 4, &onOff, &styles.bandOn, &styles.bandOff,
                                                 label, IChannelBlend::kBlendNone),
                    "Filter off/static");
    idx[2] = Attach(graphics, Switch(plug, graphics, X + 103, 460, P + 11, kSoloSwitch), "Filter solo");
    idx[3] = Attach(graphics, Popup(plug, graphics, X + 62, 476, P + 5, kTypeSelector), "Filter type");
    idx[4] = Attach(graphics, Popup(plug, graphics, X + 62, 500, P + 6, kChannelSelector),
                    "Filter channel stereo/left/right/mid/side");
    idx[5] = Attach(graphics, Popup(plug, graphics, X + 62, 524, P + 7, kSlopeSelector), "Filter slope (6-96dB)");
    idx[6] = Attach(graphics, new IParameterButtonExtStepped(plug, XYWH(X + 63, 577, 60, 22), P + 8, &styles.readout),
                    "Filter gain (-/+48dB)");
    idx[7] = Attach(graphics, new IParameterButtonExtHz(plug, XYWH(X + 63, 553, 60, 22), P + 9, &styles.readout),
                    "Filter frequency (10-48kHz)");
    idx[8] = Attach(graphics, new IParameterButtonExt(plug, XYWH(X + 63, 601, 60, 22), P + 10, &styles.readout),
                    "Filter Q (0.01-100.00)");
  }
}

IScope* AttachScope(Brimlow* plug, IGraphics* graphics) {
  IScope* scope = new IScope(plug, IRECT(kScopeL, kScopeT, kScopeR, kScopeCompactB), Brimlow::kScopeTag,
                             kScopeFreqMin, kScopeFreqMax, plug->DspSampleRate());
  const int idx = graphics->AttachControl(scope);
  plug->SetScope(scope, idx);
  const ParamMirrors& m = plug->Mirrors();
  scope->mSmoothMode = m.smoothSpectrumCurve;
  scope->mAnalyzerChannel = m.analyzerMode;
  // Curve records, analyser records, band arrays, the band menu's
  // parameters and the sample rate.
  plug->HandOverDisplayData();
  for (int band = 0; band < IScope::kMaxBands; ++band) {
    scope->mHoverAmount[band] = 0.0;
    scope->mHandleHover[band] = 0;
  }
  scope->UpdateBandHandles();
  scope->mSampleRate = plug->DspSampleRate();
  scope->mPreDrawHook = AnalyzerRefreshCallback;
  scope->mPreDrawContext = plug;
  scope->mEvaluator = EQCurveCallback;
  scope->mEvaluatorContext = plug;
  scope->mEvaluatorState = EQCurveStateCallback;
  return scope;
}

IAnalyzerMenu* AttachAnalyzerMenu(Brimlow* plug, IGraphics* graphics) {
  IBitmap bitmap = Load(graphics, kSetupButton);
  IAnalyzerMenu* menu = new IAnalyzerMenu(plug, 772, 87, &bitmap);
  Attach(graphics, menu, "Analyzer options menu");
  plug->SetAnalyzerMenu(menu);
  const char* folder = plug->DataPath().Get();
  using K = IAnalyzerMenu;
  menu->AddMenuEntry("Show Pre Filter Spectrum", kParamPreFilterSpectrum, K::kKindToggle);
  menu->AddMenuEntry("Show Post Filter Spectrum", kParamPostFilterSpectrum, K::kKindToggle);
  menu->AddMenuEntry("Show Post Predictive Spectrum", kParamPredictivePostSpectrum, K::kKindToggle);
  menu->AddMenuEntry("Show Delta Post/Reference Spectrum", kParamDeltaSpectrum, K::kKindToggle);
  menu->AddMenuEntry("Spectrum Type", kParamSmoothSpectrumCurve, K::kKindSubmenu4);
  menu->AddMenuEntry("Show Max Spectrum", kParamShowMax, K::kKindToggle);
  menu->AddMenuEntry("Show HiRes Spectrum", kParamHiResAnalyzer, K::kKindToggle);
  menu->AddMenuEntry("Spectrogram", kParamSpectrogramMode, K::kKindSubmenu3);
  menu->AddMenuEntry("", -1, K::kKindToggle);
  menu->AddMenuEntry("Frequency Tracker", kParamFrequencyTracking, K::kKindSubmenu5);
  menu->AddMenuEntry("", -1, K::kKindToggle);
  menu->AddMenuEntry("Load Reference File (ref/wav/aiff)", kTagLoadReference, K::kKindCommand, K::kActionOpenFile);
  menu->SetOpenFolder(folder);
  menu->SetOpenExtensions("ref wav aiff");
  menu->AddMenuEntry("Save Reference File (ref)", kTagSaveReference, K::kKindCommand, K::kActionSaveFile);
  menu->SetSaveFolder(folder);
  menu->SetSaveExtensions("ref");
  menu->AddMenuEntry("Show Reference", kParamShowReference, K::kKindToggle);
  menu->AddMenuEntry("", -1, K::kKindToggle);
  menu->AddMenuEntry("Show Grid", kParamAnalyzerShowGrid, K::kKindToggle);
  menu->AddMenuEntry("Show Add EQ Curves", kParamShowAddEQCurves, K::kKindToggle);
  menu->AddMenuEntry("Show Musical Note", kParamShowMusicalNote, K::kKindToggle);
  menu->AddMenuEntry("Show only selected curve", kParamShowOnlySelectedCurve, K::kKindToggle);
  menu->AddMenuEntry("EQ Cheat Sheet", kParamEQCheatSheet, K::kKindSubmenu1);
  menu->AddMenuEntry("", -1, K::kKindToggle);
  menu->AddMenuEntry("Reset Analyzer View", kTagResetView, K::kKindCommand, K::kActionCommand);
  return menu;
}

// One meter: level bar, peak-hold line, maximum readout, over LED.
void AttachMeter(Brimlow* plug, IGraphics* graphics, const Styles& styles, int x, const BitmapSpec& background,
                 const int tags[4], int* idx) {
  IBitmap lit = Load(graphics, kMeterLit);
  IBitmap unlit = Load(graphics, background);
  idx[0] = Attach(graphics, new IBitmapControlClick1(plug, x, 145, &lit, tags[0], &unlit));
  idx[1] = Attach(graphics, new IBitmapControlSlider2(plug, x, 145, &lit, tags[1], IColor(255, 127, 127, 127)));
  idx[2] = Attach(graphics,
                  EditorControls::NewTextControlClick(plug, IRECT(x, 363, x + 30, 375), styles.meterMax, "-inf",
                                                      tags[2]),
                  "Max value, click to reset");
  idx[3] = Attach(graphics, Click(plug, graphics, x, 163, tags[3], kOverLED), "Over LED, click to reset");
}

void Build(Brimlow* plug, IGraphics* graphics) {
  const Styles styles;
  graphics->SetHandleMouseOver(true);
  graphics->AttachPanelBackground(&kColorBlack);
  // Tooltips bring mouse-over handling with them.
  graphics->mShowTooltips = true;
  graphics->SetHandleMouseOver(true);
  double sx = 1.0, sy = 1.0;
  CopyScales(plug, graphics, &sx, &sy);

  IBitmap background = Load(graphics, kBackground);
  plug->mBackgroundIdx = Attach(graphics, new IBackgroundControl(plug, &background));
  IBitmap backgroundLarge = Load(graphics, kBackgroundLarge);
  plug->mBackgroundLargeIdx = Attach(graphics, new IBackgroundControl(plug, &backgroundLarge));

  IBitmap presets = Load(graphics, kPresetsButton);
  IBitmap previous = Load(graphics, kPreviousButton);
  IBitmap next = Load(graphics, kNextButton);
  Attach(graphics,
         new IExtPresetMenuNew1(plug, XYWH(331, 7, 263, 23), 331, 7, &presets, IRECT(356, 7, 540, 29),
                                &styles.presetName, 543, 7, &previous, 571, 7, &next, kTagSaveDefault, -1,
                                plug->DataPath().Get(), "tps", 22, &plug->DefaultPreset(), IChannelBlend::kBlendNone),
         "Preset menu");
  Attach(graphics, new IInvisibleClickControl(plug, XYWH(0, 0, 136, 32), kTagLogo));
  Attach(graphics,
         new IMyHelpMenuTTScaleOS(plug, IRECT(736, 37, 872, 77), EditorControls::kManualURL,
                                  EditorControls::kVersionHistoryURL, kParamToggleTooltips, -1, kParamGUIScale, -1, -1),
         "Info");
  Attach(graphics, Popup(plug, graphics, 125, 50, kParamOSMode, kOversamplingSelector), "Oversampling");
  Attach(graphics, Popup(plug, graphics, 270, 50, kParamFilterMode, kFilterModeSelector),
         "Filter Mode: IIR Zero Delay/IIR natural phase/FIR zero phase");
  Attach(graphics, Popup(plug, graphics, 510, 44, kParamAnalyzerMode, kChannelSelector), "Analyzer mode");
  Attach(graphics, Popup(plug, graphics, 410, 50, kParamPhase, kPhaseSelector), "Phase Polarity");
  Attach(graphics, new IParameterButtonExtStepped(plug, XYWH(802, 397, 60, 22), kParamOutputGain, &styles.readout),
         "Output Volume");

  AttachScope(plug, graphics);
  AttachBandStrip(plug, graphics, styles);

  Attach(graphics, Knob(plug, graphics, styles, 16, 131, kParamFScale, kScaleKnob),
         "Spectrum/EQ frequency range scale (0-100%)");
  Attach(graphics, Knob(plug, graphics, styles, 16, 179, kParamFOffset, kOffsetKnob),
         "Spectrum/EQ frequency range offset (0-100%)");
  Attach(graphics, Knob(plug, graphics, styles, 16, 251, kParamGScale, kScaleKnob),
         "Spectrum/EQ magnitude range scale (0-100%)");
  Attach(graphics, Knob(plug, graphics, styles, 16, 299, kParamDBOffset, kOffsetKnob),
         "Spectrum/EQ magnitude range offset (-/+60dB)");
  Attach(graphics, new IParameterButtonExtStepped(plug, XYWH(16, 347, 60, 22), kParamSpectrumSlope, &styles.accent),
         "Spectrum-display slope (-/+9dB)");
  Attach(graphics, Switch(plug, graphics, 56, 381, kParamLinkEQ, kLinkSwitch),
         "Links EQ and spectrum magnitude range");
  Attach(graphics, Knob(plug, graphics, styles, 16, 419, kParamEQScale, kScaleKnob),
         "EQ magnitude range scale (0-100%)");
  Attach(graphics, Knob(plug, graphics, styles, 802, 92, kParamRefAGV, kOffsetKnob),
         "Reference magnitude range offset");
  Attach(graphics, Switch(plug, graphics, 582, 39, kParamHold, kFreezeButton), "Spectrum analyzer freeze");
  Attach(graphics, Switch(plug, graphics, 678, 39, kParamAB, kBypassButton), "Bypass filter");
  Attach(graphics, new IParameterButtonExt(plug, XYWH(16, 67, 60, 22), kParamAnalyzerSpeed, &styles.accent),
         "Spectrum analyzer update speed (0-9999,AVG)");
  Attach(graphics, Click(plug, graphics, 630, 39, kTagAnalyzerReset, kResetButton), "Spectrum analyzer reset");

  static const char* const kCurveTips[5] = {"Stereo spectrum response curve", "Left spectrum response curve",
                                            "Right spectrum response curve", "Mid spectrum response curve",
                                            "Side spectrum response curve"};
  for (int i = 0; i < 5; ++i) {
    const Point at = kCurveButtonAt[0][i];
    plug->mCurveButtonIdx[i] =
        Attach(graphics, Switch(plug, graphics, at.x, at.y, kParamShowCurveAll + i, kCurveButtons[i]), kCurveTips[i]);
  }
  AttachAnalyzerMenu(plug, graphics);

  // Zoom buttons in attach order: EQ out, frequency out, EQ in, frequency
  // in, reset; stored by function.
  const struct {
    int slot, tag;
    const BitmapSpec* bitmap;
    const char* tooltip;
  } zooms[] = {{0, kTagEQZoomOut, &kZoomOut, "EQ Zoom Out"},
               {2, kTagFreqZoomOut, &kZoomOut, "Freq. Zoom Out"},
               {1, kTagEQZoomIn, &kZoomIn, "EQ Zoom In"},
               {3, kTagFreqZoomIn, &kZoomIn, "Freq. Zoom In"},
               {4, kTagViewReset, &kZoomReset, "View reset"}};
  for (const auto& zoom : zooms) {
    const Point at = kZoomButtonAt[0][zoom.slot];
    plug->mZoomButtonIdx[zoom.slot] =
        Attach(graphics, Click(plug, graphics, at.x, at.y, zoom.tag, *zoom.bitmap), zoom.tooltip);
  }
  Attach(graphics, Switch(plug, graphics, 94, 87, kParamLargeScope, kResizeButton),
         "Toggle compact/large spectrum view");

  const int inputTags[4] = {kTagInputBar, kTagInputHeld, kTagInputText, kTagInputLED};
  const int outputTags[4] = {kTagOutputBar, kTagOutputHeld, kTagOutputText, kTagOutputLED};
  AttachMeter(plug, graphics, styles, 800, kMeterInput, inputTags, &plug->mMeterControlIdx[0]);
  AttachMeter(plug, graphics, styles, 835, kMeterOutput, outputTags, &plug->mMeterControlIdx[4]);
  const int* m = plug->mMeterControlIdx;
  plug->mInputMeterControls = {m[0], m[1], m[2], m[3]};
  plug->mOutputMeterControls = {m[4], m[5], m[6], m[7]};

  Attach(graphics, Popup(plug, graphics, 811, 143, kParamMainMeterMode, kMeterModeSelector),
         "Meter modes: Peak/RMS/EBU/VU");
  Attach(graphics, Popup(plug, graphics, 805, 121, kParamMainMeterChannelMode, kMeterChannelSelector),
         "Meter Channels: IN/OUT, IN L/R, OUT L/R, IN M/S, OUT M/S");
  Attach(graphics, Popup(plug, graphics, 799, 433, kParamDAVILiteMode, kLoudnessSelector),
         "DA-VI Lite perceptual loudness matching: off/fast/slow");

  plug->UpdateAllBandControls();
}

void Refit(Brimlow* plug, IGraphics* graphics) {
  // Scaled copies belong to the old scale; the controls make new ones.
  graphics->ClearScaledBitmapCache();
  double sx = 1.0, sy = 1.0;
  CopyScales(plug, graphics, &sx, &sy);
  graphics->RescaleControls(kBaseWidth, kBaseHeight, sx, sy);
}

IControl* ControlAt(IGraphics* graphics, int idx) { return idx >= 0 ? graphics->GetControl(idx) : nullptr; }

// The view's rectangle for a button of 100 % size w x h at (x, y): the far
// edges scaled from the far edge, not as left plus scaled width.
IRECT FarEdgeRECT(const Point& at, int w, int h, double gx, double gy) {
  return IRECT(static_cast<int>(at.x * gx), static_cast<int>(at.y * gy), static_cast<int>((at.x + w) * gx),
               static_cast<int>((at.y + h) * gy));
}

void PlaceButtons(IGraphics* graphics, const int* indices, const Point* at, const BitmapSpec& sizeFrom, double gx,
                  double gy) {
  const IBitmap bitmap = Load(graphics, sizeFrom);
  const double s = bitmap.mScaleX > 0.0 ? bitmap.mScaleX : kBitmapScale;
  const double t = bitmap.mScaleY > 0.0 ? bitmap.mScaleY : kBitmapScale;
  const int w = static_cast<int>(bitmap.mW / s);
  const int h = static_cast<int>(bitmap.mH / t) / (bitmap.mN > 0 ? bitmap.mN : 1);
  for (int i = 0; i < 5; ++i) {
    IControl* control = ControlAt(graphics, indices[i]);
    if (!control) continue;
    const IRECT rect = FarEdgeRECT(at[i], w, h, gx, gy);
    control->SetRECT(rect);
    control->SetTargetRECT(rect);
    control->SetDirty(false);
  }
}

}  // namespace

void LayoutGUI(Brimlow* plug, IGraphics* graphics, int mode) {
  if (!plug || !graphics) return;
  if (mode == kBuild) Build(plug, graphics);
  else if (mode == kRescale) Refit(plug, graphics);
}

void UpdateViewLayout(Brimlow* plug) {
  IGraphics* graphics = plug ? plug->GetGUI() : nullptr;
  if (!graphics) return;
  const ParamMirrors& m = plug->Mirrors();
  const int view = m.largeScope;
  if (view == 0 || view == 1) {
    const bool large = view == 1;
    if (IControl* c = ControlAt(graphics, plug->mBackgroundIdx)) c->Hide(large);
    if (IControl* c = ControlAt(graphics, plug->mBackgroundLargeIdx)) c->Hide(!large);
    for (int b = 0; b < kNumBands; ++b) {
      for (int k = 0; k < Brimlow::kBandControlsPerBand; ++k) {
        if (IControl* c = ControlAt(graphics, plug->mBandControlIdx[b][k])) c->Hide(large);
      }
    }
    const double gx = graphics->GetGUIScaleX(), gy = graphics->GetGUIScaleY();
    if (IScope* scope = plug->GetScope()) {
      const int bottom = large ? kScopeLargeB : kScopeCompactB;
      scope->SetRECT(IRECT(static_cast<int>(kScopeL * gx), static_cast<int>(kScopeT * gy),
                           static_cast<int>(kScopeR * gx), static_cast<int>(bottom * gy)));
    }
    PlaceButtons(graphics, plug->mCurveButtonIdx, kCurveButtonAt[view], kCurveButtons[0], gx, gy);
    PlaceButtons(graphics, plug->mZoomButtonIdx, kZoomButtonAt[view], kZoomOut, gx, gy);
  }
  graphics->GrayOutControl(kParamEQScale, m.linkEQ != 0);
  const bool metersOff = m.mainMeterChannelMode == 5;
  static const int kGreyedMeterControls[] = {0, 1, 2, 4, 5, 6};
  for (int k : kGreyedMeterControls) {
    if (IControl* c = ControlAt(graphics, plug->mMeterControlIdx[k])) c->GrayOut(metersOff);
  }
  graphics->GrayOutControl(kParamMainMeterMode, metersOff);
}

double EQCurveCallback(void* context, double frequency, int channel, int band) {
  Brimlow* plug = static_cast<Brimlow*>(context);
  // The impulse builder may have the display bank mid-design on another
  // thread: read it only under the plug mutex.
  WDL_MutexLock lock(plug->GetMutex());
  return GetEQCurveValue(plug->GetEngine().GetDisplayBands(), plug->Mirrors(), plug->DspSampleRate(), frequency,
                         channel, band);
}

void EQCurveStateCallback(void* context, std::vector<double>* state) {
  Brimlow* plug = static_cast<Brimlow*>(context);
  // The display bank is designed from the band settings at twice the rate
  // within every change that moves them, so these stand for it; the bank's
  // address in case the engine is ever rebuilt elsewhere.
  WDL_MutexLock lock(plug->GetMutex());
  const ParamMirrors& m = plug->Mirrors();
  state->push_back(plug->DspSampleRate());
  state->push_back(static_cast<double>(reinterpret_cast<uintptr_t>(plug->GetEngine().GetDisplayBands())));
  for (int b = 0; b < kNumBands; ++b) {
    state->insert(state->end(), {static_cast<double>(m.bandActive[b]), static_cast<double>(m.bandSolo[b]),
                                 static_cast<double>(m.bandChMode[b]), static_cast<double>(m.bandType[b]),
                                 m.bandFreq[b], m.bandGain[b], m.bandQ[b], static_cast<double>(m.bandSlope[b])});
  }
}

void AnalyzerRefreshCallback(void* context) {
  if (context) static_cast<Brimlow*>(context)->UpdateAnalyzers();
}

}  // namespace EditorLayout
