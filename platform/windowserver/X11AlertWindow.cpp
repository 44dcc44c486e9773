#include "platform/windowserver/X11AlertWindow.h"

#include <X11/keysym.h>

#include <algorithm>

namespace platform {

using namespace dialog_style;

namespace {

constexpr int kTextWidth = 420;
constexpr int kMinWidth = 380;
// A message longer than this many lines is cut; an alert taller than the
// screen could not be answered.
constexpr size_t kMostLines = 30;

}  // namespace

struct X11AlertWindow::Layout {
  std::string title;
  std::vector<std::string> header, message;
  std::vector<DialogButton> buttons;
  std::vector<AlertResponse> responses;
  int width = 0, height = 0, messageTop = 0;
};

namespace {

std::vector<std::string> Cut(std::vector<std::string> lines) {
  while (!lines.empty() && lines.back().find_first_not_of(' ') == std::string::npos) lines.pop_back();
  if (lines.size() > kMostLines) {
    lines.resize(kMostLines);
    lines.back() += "\xE2\x80\xA6";
  }
  return lines;
}

}  // namespace

X11AlertWindow::Layout X11AlertWindow::LayOut(const AlertRequest& request) {
  // Measured on a scratch canvas: the window's size depends on it.
  DialogCanvas measure(1, 1);
  Layout l;
  l.title = request.header.empty() ? std::string("Message") : request.header;
  const std::string defaultTitle = request.defaultButton.empty() ? "OK" : request.defaultButton;
  // Left to right: the other button apart at the left, then the
  // alternate, then the default.
  if (!request.otherButton.empty()) {
    l.buttons.push_back(DialogButton{request.otherButton});
    l.responses.push_back(kAlertOther);
  }
  if (!request.alternateButton.empty()) {
    l.buttons.push_back(DialogButton{request.alternateButton});
    l.responses.push_back(kAlertAlternate);
  }
  l.buttons.push_back(DialogButton{defaultTitle});
  l.responses.push_back(kAlertDefault);
  int row = 0;
  for (DialogButton& b : l.buttons) {
    b.width = ButtonWidth(measure, b.title);
    row += b.width + kButtonGap;
  }
  row += request.otherButton.empty() ? 0 : 3 * kButtonGap;
  const int textWidth = std::max(
      {std::min(kTextWidth, std::max(measure.TextWidth(request.header, true), measure.TextWidth(request.message))),
       row, kMinWidth - 2 * kMargin});
  l.width = textWidth + 2 * kMargin;
  l.header = Cut(request.header.empty() ? std::vector<std::string>() : measure.Wrap(request.header, textWidth, true));
  l.message = Cut(request.message.empty() ? std::vector<std::string>() : measure.Wrap(request.message, textWidth));
  int y = kMargin;
  y += static_cast<int>(l.header.size()) * kLineHeight;
  if (!l.header.empty() && !l.message.empty()) y += 8;
  l.messageTop = y;
  y += static_cast<int>(l.message.size()) * kLineHeight;
  y += 22;
  int right = l.width - kMargin;
  for (size_t i = l.buttons.size(); i-- > 0;) {
    DialogButton& b = l.buttons[i];
    const bool apart = l.responses[i] == kAlertOther && l.buttons.size() > 1;
    b.x = apart ? kMargin : right - b.width;
    b.y = y;
    right = b.x - kButtonGap;
  }
  l.height = y + kButtonHeight + kMargin;
  return l;
}

X11AlertWindow::X11AlertWindow(X11State& x, const AlertRequest& request)
    : X11AlertWindow(x, request, LayOut(request)) {}

X11AlertWindow::X11AlertWindow(X11State& x, const AlertRequest&, const Layout& layout)
    : X11DialogWindow(x, layout.title, layout.width, layout.height),
      mHeaderLines(layout.header),
      mMessageLines(layout.message),
      mMessageTop(layout.messageTop),
      mButtons(layout.buttons),
      mResponses(layout.responses),
      mFocus(static_cast<int>(layout.buttons.size()) - 1) {}

void X11AlertWindow::Draw(DialogCanvas& canvas) {
  canvas.Fill(0, 0, canvas.Width(), canvas.Height(), kBackground);
  int baseline = kMargin + canvas.Ascent();
  for (const std::string& line : mHeaderLines) {
    canvas.Text(kMargin, baseline, line, kText, true);
    baseline += kLineHeight;
  }
  baseline = mMessageTop + canvas.Ascent();
  for (const std::string& line : mMessageLines) {
    canvas.Text(kMargin, baseline, line, kText);
    baseline += kLineHeight;
  }
  for (size_t i = 0; i < mButtons.size(); ++i) {
    const int index = static_cast<int>(i);
    DrawButton(canvas, mButtons[i], mResponses[i] == kAlertDefault, index == mPressed && mPressedInside,
               index == mFocus);
  }
}

void X11AlertWindow::Answer(AlertResponse response) {
  mResponse = response;
  Finish();
}

void X11AlertWindow::Cancelled() {
  for (size_t i = 0; i < mButtons.size(); ++i) {
    if (mButtons[i].title == "Cancel") return Answer(mResponses[i]);
  }
  Answer(kAlertCancel);
}

void X11AlertWindow::KeyPressed(KeySym sym, char character, unsigned state) {
  const int count = static_cast<int>(mButtons.size());
  switch (sym) {
    case XK_Return:
    case XK_KP_Enter: Answer(kAlertDefault); return;
    case XK_Escape: Cancelled(); return;
    case XK_Tab:
    case XK_ISO_Left_Tab:
    case XK_Left:
    case XK_Right: {
      const bool back = sym == XK_Left || sym == XK_ISO_Left_Tab || (sym == XK_Tab && (state & ShiftMask));
      mFocus = (mFocus + (back ? count - 1 : 1)) % count;
      Redraw();
      return;
    }
    default:
      if (character == ' ') Answer(mResponses[static_cast<size_t>(mFocus)]);
      return;
  }
}

void X11AlertWindow::Pressed(int x, int y, unsigned button, int) {
  if (button != Button1) return;
  for (size_t i = 0; i < mButtons.size(); ++i) {
    if (!mButtons[i].Contains(x, y)) continue;
    mPressed = static_cast<int>(i);
    mPressedInside = true;
    Redraw();
  }
}

void X11AlertWindow::Moved(int x, int y, bool dragging) {
  if (mPressed < 0 || !dragging) return;
  const bool inside = mButtons[static_cast<size_t>(mPressed)].Contains(x, y);
  if (inside != mPressedInside) {
    mPressedInside = inside;
    Redraw();
  }
}

void X11AlertWindow::Released(int x, int y, unsigned button) {
  if (button != Button1 || mPressed < 0) return;
  const size_t pressed = static_cast<size_t>(mPressed);
  mPressed = -1;
  Redraw();
  // A button answers when let go over it, as it was pressed.
  if (mButtons[pressed].Contains(x, y)) Answer(mResponses[pressed]);
}

}  // namespace platform
