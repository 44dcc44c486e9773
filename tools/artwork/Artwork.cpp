#include "tools/artwork/Artwork.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "plugin/engine/ParamIndex.h"
#include "tools/artwork/Canvas.h"

// The face: a near-black body, raised fields a shade lighter with hairline
// borders, light grey labels and one teal accent for what is on; amber for
// solo and bypass, red for overs.
namespace {

constexpr double kPi = 3.14159265358979323846;

const LICE_pixel kBodyTop = Rgb(0x1a1e23);
const LICE_pixel kBodyBottom = Rgb(0x111316);
const LICE_pixel kBar = Rgb(0x1d2126);
const LICE_pixel kInset = Rgb(0x0b0d0f);
const LICE_pixel kRaised = Rgb(0x262b31);
const LICE_pixel kRaisedHigh = Rgb(0x30363d);
const LICE_pixel kBorder = Rgb(0x363d45);
const LICE_pixel kBorderDark = Rgb(0x0a0b0d);
const LICE_pixel kLine = Rgb(0x2a3036);
const LICE_pixel kText = Rgb(0xd2d4d6);
const LICE_pixel kLabel = Rgb(0x8b939b);
const LICE_pixel kDim = Rgb(0x5c646c);
const LICE_pixel kAccent = Rgb(0x3ec6b4);
const LICE_pixel kAccentDeep = Rgb(0x1d6f66);
const LICE_pixel kAmber = Rgb(0xe8b04a);
const LICE_pixel kRed = Rgb(0xe5484d);
const LICE_pixel kBlack = Rgb(0x000000);
// What lies under transparent pixels: the body's colour, so antialiased
// edges fade towards the face rather than towards black.
const LICE_pixel kClear = Rgb(0x15181c, 0);

constexpr double kLabelSize = 7.5;

// Positions of the editor at 100 %, as the layout places the controls.
constexpr int kWidth = 872, kHeight = 632;
constexpr int kDisplayL = 92, kDisplayT = 84, kDisplayR = 789, kDisplayB = 428, kDisplayLargeB = 604;
constexpr int kStripTop = 452, kBandPitch = 64, kFrameX = 61, kFrameW = 63, kFrameH = 176;

struct Size {
  int w, h;
};
constexpr Size kSelectorSize{60, 22};
constexpr Size kKnobSize{60, 28};
constexpr Size kSmallButton{16, 16};
constexpr Size kCurveButton{16, 14};
constexpr Size kMeterSize{30, 216};
constexpr int kMeterBarTop = 30;  // above it the meter selector and the LED sit

const std::vector<ArtworkImage> kImages = {
    {"background.png", kWidth, kHeight, 1},
    {"background1.png", kWidth, kHeight, 1},
    {"button_presets.png", 24, 23, 2},
    {"button_previous.png", 26, 23, 2},
    {"button_next.png", 23, 23, 2},
    {"selector_os.png", 110, 22, 3},
    {"selector_filtermode.png", 130, 22, 7},
    {"filter_source.png", kSelectorSize.w, kSelectorSize.h, 5},
    {"selector_phaseinvert.png", 90, 22, 2},
    {"bandframe.png", kFrameW, kFrameH, 2},
    {"simple_knob.png", 36, 16, 2},
    {"solo_knob.png", 18, 14, 2},
    {"filter_selector.png", kSelectorSize.w, kSelectorSize.h, 16},
    {"selector_slope.png", kSelectorSize.w, kSelectorSize.h, 16},
    {"scale.png", kKnobSize.w, kKnobSize.h, 101},
    {"offset.png", kKnobSize.w, kKnobSize.h, 101},
    {"linkEQ.png", 20, 16, 2},
    {"Freeze.png", 44, 32, 2},
    {"bypass.png", 44, 32, 2},
    {"Reset.png", 44, 32, 2},
    {"showcurveall.png", kCurveButton.w, kCurveButton.h, 2},
    {"showcurveleft.png", kCurveButton.w, kCurveButton.h, 2},
    {"showcurveright.png", kCurveButton.w, kCurveButton.h, 2},
    {"showcurvemid.png", kCurveButton.w, kCurveButton.h, 2},
    {"showcurveside.png", kCurveButton.w, kCurveButton.h, 2},
    {"setup_button.png", kSmallButton.w, kSmallButton.h, 2},
    {"zoomminus.png", kSmallButton.w, kSmallButton.h, 2},
    {"zoomplus.png", kSmallButton.w, kSmallButton.h, 2},
    {"zoomreset.png", kSmallButton.w, kSmallButton.h, 2},
    {"resize_button.png", kSmallButton.w, kSmallButton.h, 2},
    {"meter1_in_a.png", kMeterSize.w, kMeterSize.h, 1},
    {"meter2_in_n.png", kMeterSize.w, kMeterSize.h, 1},
    {"meter2_gr_n1.png", kMeterSize.w, kMeterSize.h, 1},
    {"peak_LED.png", 30, 8, 11},
    {"mastermetermode.png", 43, 16, 5},
    {"mastermetechannelrmode.png", 55, 20, 6},
    {"ab_lm.png", 64, 18, 3},
};

const ArtworkImage& Spec(const std::string& name) {
  for (const ArtworkImage& image : kImages) {
    if (image.fileName == name) return image;
  }
  std::fprintf(stderr, "artwork: no image %s\n", name.c_str());
  std::abort();
}

Canvas Make(const std::string& name) {
  const ArtworkImage& image = Spec(name);
  return Canvas(image.width, image.height, image.frames, kClear);
}

// The largest size up to size at which the text fits the width.
double FitSize(Canvas& c, const std::string& text, double size, double width, bool bold, bool condensed) {
  while (size > 5.0 && c.TextWidth(text, size, bold, condensed) > width) size -= 0.25;
  return size;
}

double CaretWidth(const Canvas& c) { return std::min(9.0, c.Height() * 0.45); }
double SelectorRoom(const Canvas& c) { return c.Width() - 6 - CaretWidth(c); }

// One text size for every frame: the largest up to size at which the
// longest text fits.
double CommonSize(Canvas& c, const std::vector<std::string>& texts, double size, double room) {
  for (const std::string& text : texts) size = std::min(size, FitSize(c, text, size, room, true, true));
  return size;
}

// A dropdown field: raised, hairline border, the text and a small caret.
void DrawSelectorFrame(Canvas& c, const std::string& text, double size, LICE_pixel textColor, bool caret = true) {
  const double w = c.Width(), h = c.Height();
  c.Panel(0.5, 0.5, w - 1, h - 1, std::min(4.0, h / 4), kRaised, kBorder);
  c.Fill(1.5, 1.0, w - 3, 0.5, kRaisedHigh);
  const double caretW = caret ? CaretWidth(c) : 0.0;
  const double room = w - 6 - caretW;
  c.Text(3, 0, room, h, text, size, true, textColor, Canvas::kCenter, true);
  if (caret) {
    const double cx = w - 3 - caretW / 2, cy = h / 2 + 0.5, s = caretW * 0.28;
    c.Triangle(cx - s, cy - s * 0.6, cx + s, cy - s * 0.6, cx, cy + s * 0.7, kLabel);
  }
}

bool Write(Canvas& c, const std::string& folder, const std::string& name) {
  const std::string path = folder + "/" + name;
  if (!c.WritePNG(path)) {
    std::fprintf(stderr, "artwork: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

// ---- Selectors ---------------------------------------------------------------

bool Selector(const std::string& folder, const std::string& name, const std::vector<std::string>& texts,
              double textSize, LICE_pixel color = kText) {
  Canvas c = Make(name);
  const double size = CommonSize(c, texts, textSize, SelectorRoom(c));
  for (int i = 0; i < c.Frames(); ++i) {
    c.Frame(i);
    DrawSelectorFrame(c, i < static_cast<int>(texts.size()) ? texts[i] : std::string(), size, color);
  }
  return Write(c, folder, name);
}

// The band type: the "A - " and "D - " families get a small coloured tag,
// the type's name beside it.
bool TypeSelector(const std::string& folder, const std::vector<std::string>& texts) {
  Canvas c = Make("filter_selector.png");
  const double w = c.Width(), h = c.Height();
  std::vector<std::string> names;
  for (const std::string& text : texts) names.push_back(text.size() > 4 ? text.substr(4) : text);
  // Tag 2..11, caret in the last 7 pixels: the names get the rest.
  const double textLeft = 12, room = w - textLeft - 7;
  const double size = CommonSize(c, names, 8.5, room);
  for (int i = 0; i < c.Frames(); ++i) {
    c.Frame(i);
    const std::string text = i < static_cast<int>(texts.size()) ? texts[i] : std::string();
    const bool tagged = text.size() > 4 && text[1] == ' ' && text[2] == '-' && text[3] == ' ';
    const std::string family = tagged ? text.substr(0, 1) : std::string();
    const std::string type = tagged ? text.substr(4) : text;
    c.Panel(0.5, 0.5, w - 1, h - 1, 4, kRaised, kBorder);
    c.Fill(1.5, 1.0, w - 3, 0.5, kRaisedHigh);
    if (tagged) {
      c.RoundRect(2.5, 5.5, 8.5, 11, 2, family == "A" ? kAccentDeep : Rgb(0x6b5220));
      c.Text(2.5, 5.5, 8.5, 11, family, 7, true, family == "A" ? kAccent : kAmber);
    }
    c.Text(textLeft, 0, room, h, type, size, true, kText, Canvas::kCenter, true);
    const double cx = w - 4.5, cy = h / 2 + 0.5, s = 2.0;
    c.Triangle(cx - s, cy - s * 0.6, cx + s, cy - s * 0.6, cx, cy + s * 0.7, kLabel);
  }
  return Write(c, folder, "filter_selector.png");
}

// ---- Buttons -------------------------------------------------------------------

// The editor's small square buttons: raised, pressed (or on) lit.
void ButtonBase(Canvas& c, bool lit, LICE_pixel litColor = kAccentDeep) {
  const double w = c.Width(), h = c.Height();
  c.Panel(0.5, 0.5, w - 1, h - 1, 3, lit ? litColor : kRaised, lit ? kAccent : kBorder);
  if (!lit) c.Fill(1.5, 1.0, w - 3, 0.5, kRaisedHigh);
}

bool SmallButton(const std::string& folder, const std::string& name,
                 const std::function<void(Canvas&, LICE_pixel)>& glyph) {
  Canvas c = Make(name);
  for (int i = 0; i < 2; ++i) {
    c.Frame(i);
    ButtonBase(c, i == 1);
    glyph(c, i == 1 ? Rgb(0xffffff) : kText);
  }
  return Write(c, folder, name);
}

bool CurveButton(const std::string& folder, const std::string& name, const std::string& letter) {
  Canvas c = Make(name);
  for (int i = 0; i < 2; ++i) {
    c.Frame(i);
    const double w = c.Width(), h = c.Height();
    if (i == 0) {
      c.Panel(0.5, 0.5, w - 1, h - 1, 2.5, kRaised, kBorder);
    } else {
      c.Panel(0.5, 0.5, w - 1, h - 1, 2.5, kAccentDeep, kAccent);
    }
    c.Text(0, 0, w, h, letter, 8, true, i == 1 ? Rgb(0xffffff) : kDim);
  }
  return Write(c, folder, name);
}

// The 44 x 32 buttons of the top bar: an icon over a label.
// litFrame: the frame drawn lit (1, the switch's on value, for most; 0 for
// bypass, whose parameter is on while the filters run).
bool TopButton(const std::string& folder, const std::string& name, const std::string& label, LICE_pixel onColor,
               LICE_pixel onFill, const std::function<void(Canvas&, LICE_pixel)>& icon, int litFrame = 1) {
  Canvas c = Make(name);
  for (int i = 0; i < 2; ++i) {
    c.Frame(i);
    const bool on = i == litFrame;
    const double w = c.Width(), h = c.Height();
    c.Panel(0.5, 0.5, w - 1, h - 1, 4, on ? onFill : kRaised, on ? onColor : kBorder);
    if (!on) c.Fill(1.5, 1.0, w - 3, 0.5, kRaisedHigh);
    icon(c, on ? onColor : kLabel);
    c.Text(0, 18, w, 11, label, 7, true, on ? kText : kLabel);
  }
  return Write(c, folder, name);
}

// ---- Knobs ----------------------------------------------------------------------

// Pointer over an arc of 270 degrees; bipolar knobs light the arc from the
// top, the others from the start.
bool Knob(const std::string& folder, const std::string& name, bool bipolar) {
  Canvas c = Make(name);
  const double cx = c.Width() / 2.0, cy = 14.0, r = 10.0;
  const double start = -0.75 * kPi, end = 0.75 * kPi;
  for (int i = 0; i < c.Frames(); ++i) {
    c.Frame(i);
    const double v = i / static_cast<double>(c.Frames() - 1);
    const double angle = start + (end - start) * v;
    c.Arc(cx, cy, r + 2.6, start, end, 1.4, Rgb(0x2b3137));
    const double from = bipolar ? 0.0 : start;
    if (std::fabs(angle - from) > 1e-9) c.Arc(cx, cy, r + 2.6, from, angle, 1.4, kAccent);
    c.Disc(cx, cy + 0.6, r, kBorderDark);
    c.Disc(cx, cy, r, kBorder);
    c.Disc(cx, cy, r - 0.6, Rgb(0x2c3238));
    c.Disc(cx, cy - 0.5, r - 1.8, Rgb(0x32383f));
    const double px = std::sin(angle), py = -std::cos(angle);
    c.Line(cx + px * 3.0, cy + py * 3.0, cx + px * (r - 2.0), cy + py * (r - 2.0), 1.6, Rgb(0xf0f2f4));
  }
  return Write(c, folder, name);
}

// ---- Band strip --------------------------------------------------------------

// A band's column: a panel with the three readout wells; lit while its
// handle is under the mouse.
bool BandFrame(const std::string& folder) {
  Canvas c = Make("bandframe.png");
  const double w = c.Width(), h = c.Height();
  for (int i = 0; i < 2; ++i) {
    c.Frame(i);
    const bool lit = i == 1;
    c.Panel(0.5, 0.5, w - 1, h - 1, 5, lit ? Rgb(0x1f2a2b) : Rgb(0x1a1e22), lit ? kAccent : kLine);
    // The readouts of frequency, gain and Q, 60 x 22 each, two pixels in.
    for (int row = 0; row < 3; ++row) {
      const double y = 101 + 24 * row;
      c.Panel(2, y, 60, 22, 3, kInset, lit ? kAccentDeep : Rgb(0x23282d));
    }
  }
  return Write(c, folder, "bandframe.png");
}

bool BandSwitch(const std::string& folder) {
  Canvas c = Make("simple_knob.png");
  const double w = c.Width(), h = c.Height();
  // Frame 1 is off (the label draws grey on it), frame 2 on (black).
  c.Frame(0);
  c.Panel(0.5, 0.5, w - 1, h - 1, h / 2 - 0.5, Rgb(0x1f2328), kBorder);
  c.Frame(1);
  c.RoundRect(0.5, 0.5, w - 1, h - 1, h / 2 - 0.5, kAccent);
  c.Fill(4, 1.2, w - 8, 0.5, Rgb(0x7fe3d6));
  return Write(c, folder, "simple_knob.png");
}

bool SoloSwitch(const std::string& folder) {
  Canvas c = Make("solo_knob.png");
  const double w = c.Width(), h = c.Height();
  c.Frame(0);
  c.Panel(0.5, 0.5, w - 1, h - 1, 3, Rgb(0x1f2328), kBorder);
  c.Text(0, 0, w, h, "S", 8, true, kDim);
  c.Frame(1);
  c.RoundRect(0.5, 0.5, w - 1, h - 1, 3, kAmber);
  c.Text(0, 0, w, h, "S", 8, true, kBlack);
  return Write(c, folder, "solo_knob.png");
}

// ---- Meters ---------------------------------------------------------------------

// Segments from the bottom; lit ones green below -12 dB, amber to 0 dB and
// red above. The bar's full height is the meters' range, +12 dB at the
// top to -60 dB at the bottom; ticks at 0, -12, -24 and -48 dB sit beside it.
constexpr double kMeterTopDb = 12.0, kMeterRangeDb = 72.0;

void MeterBar(Canvas& c, bool lit) {
  const double h = c.Height();
  const auto yOf = [h](double db) { return h * (kMeterTopDb - db) / kMeterRangeDb; };
  const double top = kMeterBarTop, bottom = h - 2;
  c.Panel(3, top - 2, c.Width() - 6, bottom - top + 3, 2, kInset, kLine);
  const double segment = 3.0, gap = 1.0;
  for (double y = bottom - segment; y >= top; y -= segment + gap) {
    const double db = kMeterTopDb - kMeterRangeDb * (y + segment / 2) / h;
    LICE_pixel color = Rgb(0x1c2226);
    if (lit) color = db < -12.0 ? Rgb(0x38c98a) : db < 0.0 ? Rgb(0xe8c24a) : kRed;
    c.Fill(5, y, c.Width() - 10, segment, color);
  }
  for (double db : {0.0, -12.0, -24.0, -48.0}) {
    const double y = yOf(db);
    c.Fill(0, y - 0.25, 2.5, 0.5, db == 0.0 ? kLabel : kDim);
    c.Fill(c.Width() - 2.5, y - 0.25, 2.5, 0.5, db == 0.0 ? kLabel : kDim);
  }
}

bool Meter(const std::string& folder, const std::string& name, bool lit) {
  Canvas c = Make(name);
  MeterBar(c, lit);
  return Write(c, folder, name);
}

bool PeakLED(const std::string& folder) {
  Canvas c = Make("peak_LED.png");
  const double w = c.Width(), h = c.Height();
  for (int i = 0; i < c.Frames(); ++i) {
    c.Frame(i);
    const double f = i / static_cast<double>(c.Frames() - 1);
    const auto mix = [f](int a, int b) { return static_cast<int>(a + (b - a) * f + 0.5); };
    const LICE_pixel color = LICE_RGBA(mix(0x3a, 0xff), mix(0x16, 0x52), mix(0x18, 0x52), 255);
    c.Panel(3, 0.5, w - 6, h - 1, 2, color, i == 0 ? kLine : Rgb(0xff8a8a));
    if (i > 0) c.Fill(5, 1.5, w - 10, 1, LICE_RGBA(255, mix(0x52, 0xc0), mix(0x52, 0xc0), 255), static_cast<float>(f));
  }
  return Write(c, folder, "peak_LED.png");
}

// ---- Backgrounds ----------------------------------------------------------------

void Label(Canvas& c, double x, double y, double w, double h, const std::string& text,
           Canvas::EAlign align = Canvas::kCenter) {
  c.Text(x, y, w, h, text, kLabelSize, true, kLabel, align);
}

void Well(Canvas& c, double x, double y, double w, double h) { c.Panel(x, y, w, h, 3, kInset, Rgb(0x2a3036)); }

void Background(Canvas& c, bool large) {
  c.VerticalGradient(0, 0, kWidth, kHeight, kBodyTop, kBodyBottom);
  // Top bar with the name and the preset field.
  c.Fill(0, 0, kWidth, 32, kBar);
  c.Fill(0, 32, kWidth, 1, kBorderDark);
  c.Fill(0, 33, kWidth, 0.5, Rgb(0x262b31));
  c.Text(14, 3, 120, 19, "BRIMLOW", 15, true, Rgb(0xe8eaec), Canvas::kLeft);
  c.Text(15, 19, 120, 11, "KESTRELBAY  \xc2\xb7  12-BAND EQ", 6.5, true, kAccent, Canvas::kLeft);
  Well(c, 356, 7, 184, 22);

  // Selector labels, one line above the selectors.
  Label(c, 125, 34, 110, 10, "OVERSAMPLING");
  Label(c, 270, 34, 130, 10, "FILTER MODE");
  Label(c, 410, 34, 90, 10, "PHASE");
  Label(c, 510, 33, 60, 10, "ANALYZER");

  // The help menu's area: a menu button.
  c.Panel(744, 43, 120, 28, 4, kRaised, kBorder);
  c.Fill(745, 44, 118, 0.5, kRaisedHigh);
  for (int i = 0; i < 3; ++i) c.Fill(756, 51.5 + 4.5 * i, 12, 1.4, kText);
  c.Text(774, 43, 84, 28, "SETTINGS", 8, true, kText, Canvas::kLeft);

  // The display's frame.
  const double bottom = large ? kDisplayLargeB : kDisplayB;
  c.Panel(kDisplayL - 2, kDisplayT - 2, kDisplayR - kDisplayL + 4, bottom - kDisplayT + 4, 3, Rgb(0x07080a),
          Rgb(0x2c3238), 1.0);

  // Left column: analyser speed, range knobs, slope and the EQ link.
  Label(c, 16, 56, 60, 10, "SPEED");
  Well(c, 16, 67, 60, 22);
  Label(c, 8, 119, 76, 10, "FREQ SCALE");
  Label(c, 8, 167, 76, 10, "FREQ OFFSET");
  c.Fill(20, 222, 52, 0.5, kLine);
  Label(c, 8, 239, 76, 10, "GAIN SCALE");
  Label(c, 8, 287, 76, 10, "GAIN OFFSET");
  Label(c, 8, 335, 76, 10, "SLOPE");
  Well(c, 16, 347, 60, 22);
  Label(c, 12, 381, 44, 16, "LINK EQ", Canvas::kCenter);
  Label(c, 8, 407, 76, 10, "EQ SCALE");

  // Right column: reference level, meters, output and loudness match.
  Label(c, 796, 81, 72, 10, "REF LEVEL");
  Label(c, 796, 385, 72, 10, "OUTPUT");
  Well(c, 802, 397, 60, 22);

  if (!large) {
    // The band strip's row names, left of the first column.
    const struct {
      double y, h;
      const char* text;
    } rows[] = {{458, 16, "BAND"}, {476, 22, "TYPE"}, {500, 22, "CHAN"}, {524, 22, "SLOPE"},
                {553, 22, "FREQ"}, {577, 22, "GAIN"}, {601, 22, "Q"}};
    for (const auto& row : rows) c.Text(2, row.y, 55, row.h, row.text, 7, true, kDim, Canvas::kRight);
    c.Fill(kFrameX, kStripTop - 8, 11 * kBandPitch + kFrameW, 0.5, kLine);
  }
  // The corner right of the strip.
  c.Text(830, 600, 40, 12, "v3.2", 6.5, true, kDim, Canvas::kCenter);
}

bool Backgrounds(const std::string& folder) {
  Canvas compact = Make("background.png");
  Background(compact, false);
  Canvas large = Make("background1.png");
  Background(large, true);
  return Write(compact, folder, "background.png") && Write(large, folder, "background1.png");
}

// ---- Icons ------------------------------------------------------------------

void Plus(Canvas& c, LICE_pixel color, bool vertical) {
  const double cx = c.Width() / 2.0, cy = c.Height() / 2.0;
  c.Line(cx - 4, cy, cx + 4, cy, 1.5, color);
  if (vertical) c.Line(cx, cy - 4, cx, cy + 4, 1.5, color);
}

void ResetArrow(Canvas& c, double cx, double cy, double r, LICE_pixel color, double width) {
  c.Arc(cx, cy, r, -1.25 * kPi, 0.35 * kPi, width, color);
  const double ax = cx + r * std::sin(-1.25 * kPi), ay = cy - r * std::cos(-1.25 * kPi);
  c.Triangle(ax - r * 0.55, ay - r * 0.05, ax + r * 0.45, ay - r * 0.45, ax + r * 0.2, ay + r * 0.6, color);
}

}  // namespace

const std::vector<ArtworkImage>& ArtworkImages() { return kImages; }

bool WriteArtwork(const std::string& folder, const ParamTexts& texts) {
  bool ok = Backgrounds(folder);

  // Preset bar.
  ok = ok && SmallButton(folder, "button_presets.png", [](Canvas& c, LICE_pixel color) {
    for (int i = 0; i < 3; ++i) c.Fill(7, 7.5 + 3.5 * i, 10, 1.4, color);
  });
  ok = ok && SmallButton(folder, "button_previous.png", [](Canvas& c, LICE_pixel color) {
    c.Triangle(16, 7, 16, 16, 9, 11.5, color);
  });
  ok = ok && SmallButton(folder, "button_next.png", [](Canvas& c, LICE_pixel color) {
    c.Triangle(8, 7, 8, 16, 15, 11.5, color);
  });

  // Selectors with their parameters' texts.
  ok = ok && Selector(folder, "selector_os.png", texts(kParamOSMode), 9);
  ok = ok && Selector(folder, "selector_filtermode.png", texts(kParamFilterMode), 9);
  ok = ok && Selector(folder, "filter_source.png", texts(BandParamIndex(0, kBandChMode)), 8.5);
  ok = ok && Selector(folder, "selector_phaseinvert.png", texts(kParamPhase), 9);
  ok = ok && TypeSelector(folder, texts(BandParamIndex(0, kBandType)));
  ok = ok && Selector(folder, "selector_slope.png", texts(BandParamIndex(0, kBandSlope)), 8.5);
  ok = ok && Selector(folder, "mastermetermode.png", texts(kParamMainMeterMode), 7);
  ok = ok && Selector(folder, "mastermetechannelrmode.png", texts(kParamMainMeterChannelMode), 7.5);
  ok = ok && Selector(folder, "ab_lm.png", texts(kParamDAVILiteMode), 7.5);

  // Band strip.
  ok = ok && BandFrame(folder) && BandSwitch(folder) && SoloSwitch(folder);

  // Knobs.
  ok = ok && Knob(folder, "scale.png", false) && Knob(folder, "offset.png", true);

  // Switches and buttons.
  ok = ok && [&] {
    Canvas c = Make("linkEQ.png");
    for (int i = 0; i < 2; ++i) {
      c.Frame(i);
      ButtonBase(c, i == 1);
      const LICE_pixel color = i == 1 ? Rgb(0xffffff) : kLabel;
      // Two chain links.
      c.Panel(3.5, 5.5, 8, 5, 2.5, color, color);
      c.Panel(4.7, 6.7, 5.6, 2.6, 1.3, i == 1 ? kAccentDeep : kRaised, i == 1 ? kAccentDeep : kRaised);
      c.Panel(8.5, 5.5, 8, 5, 2.5, color, color);
      c.Panel(9.7, 6.7, 5.6, 2.6, 1.3, i == 1 ? kAccentDeep : kRaised, i == 1 ? kAccentDeep : kRaised);
      c.Fill(8.0, 7.3, 4.0, 1.4, color);
    }
    return Write(c, folder, "linkEQ.png");
  }();
  ok = ok && TopButton(folder, "Freeze.png", "FREEZE", kAccent, kAccentDeep, [](Canvas& c, LICE_pixel color) {
    c.RoundRect(17, 5, 3.5, 10, 1, color);
    c.RoundRect(23.5, 5, 3.5, 10, 1, color);
  });
  ok = ok && TopButton(folder, "Reset.png", "RESET", kAccent, kAccentDeep, [](Canvas& c, LICE_pixel color) {
    ResetArrow(c, 22, 10, 4.5, color, 1.5);
  });
  ok = ok && TopButton(folder, "bypass.png", "BYPASS", kAmber, Rgb(0x4a3a1a), [](Canvas& c, LICE_pixel color) {
    c.Arc(22, 10.5, 5, 0.2 * kPi, 1.8 * kPi, 1.5, color);
    c.Line(22, 4, 22, 10, 1.5, color);
  }, 0);
  ok = ok && CurveButton(folder, "showcurveall.png", "A");
  ok = ok && CurveButton(folder, "showcurveleft.png", "L");
  ok = ok && CurveButton(folder, "showcurveright.png", "R");
  ok = ok && CurveButton(folder, "showcurvemid.png", "M");
  ok = ok && CurveButton(folder, "showcurveside.png", "S");
  ok = ok && SmallButton(folder, "setup_button.png", [](Canvas& c, LICE_pixel color) {
    // A cog.
    for (int k = 0; k < 8; ++k) {
      const double a = k * kPi / 4;
      c.Line(8 + 3.2 * std::sin(a), 8 - 3.2 * std::cos(a), 8 + 5.2 * std::sin(a), 8 - 5.2 * std::cos(a), 1.8,
             color);
    }
    c.Disc(8, 8, 3.8, color);
    c.Disc(8, 8, 1.6, kRaised);
  });
  ok = ok && SmallButton(folder, "zoomminus.png", [](Canvas& c, LICE_pixel color) { Plus(c, color, false); });
  ok = ok && SmallButton(folder, "zoomplus.png", [](Canvas& c, LICE_pixel color) { Plus(c, color, true); });
  ok = ok && SmallButton(folder, "zoomreset.png", [](Canvas& c, LICE_pixel color) {
    ResetArrow(c, 8, 8.5, 3.8, color, 1.3);
  });
  ok = ok && [&] {
    // Compact view: arrows out (grow); large view: arrows in.
    Canvas c = Make("resize_button.png");
    for (int i = 0; i < 2; ++i) {
      c.Frame(i);
      ButtonBase(c, i == 1);
      const LICE_pixel color = i == 1 ? Rgb(0xffffff) : kText;
      if (i == 0) {
        c.Line(6, 6, 10, 10, 1.3, color);
        c.Triangle(3.5, 3.5, 8, 3.5, 3.5, 8, color);
        c.Triangle(12.5, 12.5, 8, 12.5, 12.5, 8, color);
      } else {
        c.Line(3.5, 3.5, 5.5, 5.5, 1.3, color);
        c.Line(12.5, 12.5, 10.5, 10.5, 1.3, color);
        c.Triangle(7.5, 7.5, 7.5, 3.5, 3.5, 7.5, color);
        c.Triangle(8.5, 8.5, 8.5, 12.5, 12.5, 8.5, color);
      }
    }
    return Write(c, folder, "resize_button.png");
  }();

  // Meters.
  ok = ok && Meter(folder, "meter1_in_a.png", true);
  ok = ok && Meter(folder, "meter2_in_n.png", false);
  ok = ok && Meter(folder, "meter2_gr_n1.png", false);
  ok = ok && PeakLED(folder);
  return ok;
}
