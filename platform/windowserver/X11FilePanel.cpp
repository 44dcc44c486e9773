#include "platform/windowserver/X11FilePanel.h"

#include <X11/keysym.h>

#include <algorithm>

#include "platform/windowserver/X11AlertWindow.h"

namespace platform {

using namespace dialog_style;

namespace {

constexpr int kWidth = 580;
constexpr int kRows = 13;
constexpr int kRowHeight = 22;
constexpr int kListTop = 42;
constexpr int kListHeight = kRows * kRowHeight + 2;
constexpr int kFieldTop = kListTop + kListHeight + 14;
constexpr int kFieldHeight = 26;
constexpr int kHintTop = kFieldTop + kFieldHeight + 8;
constexpr int kButtonsTop = kHintTop + kLineHeight + 12;
constexpr int kHeight = kButtonsTop + kButtonHeight + kMargin;
constexpr int kScrollBarWidth = 8;
constexpr int kWheelRows = 3;

constexpr Rgb kFolderColour{222, 176, 80};
constexpr Rgb kFolderEdge{170, 124, 40};

const char kOpenQuote[] = "\xE2\x80\x9C";
const char kCloseQuote[] = "\xE2\x80\x9D";

std::string TypeHint(const FilePanelModel& model) {
  const std::vector<std::string>& types = model.Types();
  if (types.empty()) return std::string();
  if (model.Saving()) return "Saved as a ." + types.front() + " file";
  std::string list;
  for (size_t i = 0; i < types.size(); ++i) {
    if (i > 0) list += i + 1 == types.size() ? " and " : ", ";
    list += "." + types[i];
  }
  return "Shows " + list + " files";
}

void DrawFolderIcon(DialogCanvas& c, int x, int y) {
  c.Fill(x, y, 7, 3, kFolderColour);
  c.Fill(x, y + 2, 16, 11, kFolderColour);
  c.Outline(x, y + 2, 16, 11, kFolderEdge);
}

void DrawFileIcon(DialogCanvas& c, int x, int y) {
  c.Fill(x + 2, y - 1, 12, 15, kWhite);
  c.Outline(x + 2, y - 1, 12, 15, kBorder);
  for (int line = 0; line < 3; ++line) c.Fill(x + 5, y + 3 + 3 * line, 6, 1, kBorder);
}

}  // namespace

X11FilePanel::X11FilePanel(X11State& x, const PanelRequest& request, std::function<bool()> stop)
    : X11DialogWindow(x, request.save ? "Save" : "Open", kWidth, kHeight), mModel(request), mStop(std::move(stop)) {
  DialogCanvas& c = Canvas();
  mAccept.title = request.save ? "Save" : "Open";
  mCancel.title = "Cancel";
  mAccept.width = ButtonWidth(c, mAccept.title);
  mCancel.width = ButtonWidth(c, mCancel.title);
  mAccept.x = kWidth - kMargin - mAccept.width;
  mCancel.x = mAccept.x - kButtonGap - mCancel.width;
  mAccept.y = mCancel.y = kButtonsTop;
  mFieldLeft = kMargin + std::max(c.TextWidth("Save as:"), c.TextWidth("Name:")) + 10;
  mShownFolder = mModel.Folder();
  KeepSelectionInView();
}

void X11FilePanel::KeepSelectionInView() {
  const int count = static_cast<int>(mModel.Entries().size());
  if (mModel.Folder() != mShownFolder) {
    mShownFolder = mModel.Folder();
    mTop = 0;
  }
  const int selected = mModel.Selected();
  if (selected >= 0 && selected < mTop) mTop = selected;
  if (selected >= mTop + kRows) mTop = selected - kRows + 1;
  mTop = std::clamp(mTop, 0, std::max(0, count - kRows));
}

void X11FilePanel::Scroll(int rows) {
  const int count = static_cast<int>(mModel.Entries().size());
  mTop = std::clamp(mTop + rows, 0, std::max(0, count - kRows));
  Redraw();
}

int X11FilePanel::RowAt(int x, int y) const {
  if (x < kMargin || x >= kWidth - kMargin - kScrollBarWidth - 2 || y < kListTop + 1 ||
      y >= kListTop + kListHeight - 1) {
    return -1;
  }
  const int row = mTop + (y - kListTop - 1) / kRowHeight;
  return row < static_cast<int>(mModel.Entries().size()) ? row : -1;
}

void X11FilePanel::Settle(FilePanelModel::Outcome outcome, const std::string& path) {
  if (outcome == FilePanelModel::kConfirmReplace) {
    const size_t slash = path.rfind('/');
    AlertRequest ask;
    ask.header = "Replace " + std::string(kOpenQuote) + path.substr(slash + 1) + kCloseQuote + "?";
    ask.message = "A file of that name is already in " + std::string(kOpenQuote) +
                  (slash == 0 ? std::string("/") : path.substr(0, slash)) + kCloseQuote +
                  ". Replacing it overwrites what it holds.";
    ask.defaultButton = "Cancel";
    ask.alternateButton = "Replace";
    X11AlertWindow confirm(State(), ask);
    confirm.RunModal(mStop);
    if (confirm.Response() == kAlertAlternate) outcome = FilePanelModel::kChosen;
  }
  if (outcome == FilePanelModel::kChosen) {
    mChosen = path;
    Finish();
    return;
  }
  KeepSelectionInView();
  Redraw();
}

void X11FilePanel::KeyPressed(KeySym sym, char character, unsigned) {
  std::string path;
  switch (sym) {
    case XK_Return:
    case XK_KP_Enter: {
      const FilePanelModel::Outcome outcome = mModel.Accept(&path);
      Settle(outcome, path);
      return;
    }
    case XK_Escape: Cancelled(); return;
    case XK_BackSpace: mModel.Backspace(); break;
    case XK_Delete: mModel.DeleteForward(); break;
    case XK_Left: mModel.MoveCaret(-1); break;
    case XK_Right: mModel.MoveCaret(1); break;
    case XK_Home: mModel.CaretToStart(); break;
    case XK_End: mModel.CaretToEnd(); break;
    case XK_Up: mModel.MoveSelection(-1); break;
    case XK_Down: mModel.MoveSelection(1); break;
    case XK_Page_Up: mModel.MoveSelection(-kRows); break;
    case XK_Page_Down: mModel.MoveSelection(kRows); break;
    default:
      if (!character) return;
      mModel.Insert(character);
      break;
  }
  KeepSelectionInView();
  Redraw();
}

void X11FilePanel::Pressed(int x, int y, unsigned button, int clicks) {
  if (button == Button4 || button == Button5) {
    if (RowAt(x, y) >= 0 || (y >= kListTop && y < kListTop + kListHeight)) {
      Scroll(button == Button4 ? -kWheelRows : kWheelRows);
    }
    return;
  }
  if (button != Button1) return;
  if (mAccept.Contains(x, y) || mCancel.Contains(x, y)) {
    mPressed = mAccept.Contains(x, y) ? 1 : 0;
    mPressedInside = true;
    Redraw();
    return;
  }
  // The scroll bar's track pages towards the click.
  if (x >= kWidth - kMargin - kScrollBarWidth - 2 && x < kWidth - kMargin && y >= kListTop &&
      y < kListTop + kListHeight) {
    const int count = static_cast<int>(mModel.Entries().size());
    const int thumbTop = kListTop + 1 + (kListHeight - 2) * mTop / std::max(count, 1);
    Scroll(y < thumbTop ? -kRows : kRows);
    return;
  }
  const int row = RowAt(x, y);
  if (row >= 0) {
    std::string path;
    if (clicks == 2 && row == mModel.Selected()) {
      ForgetClicks();
      const FilePanelModel::Outcome outcome = mModel.Activate(row, &path);
      Settle(outcome, path);
      return;
    }
    mModel.Select(row);
    KeepSelectionInView();
    Redraw();
    return;
  }
  if (x >= mFieldLeft && x < kWidth - kMargin && y >= kFieldTop && y < kFieldTop + kFieldHeight) {
    // The caret goes to the character edge nearest the click.
    DialogCanvas& c = Canvas();
    const std::string& name = mModel.Name();
    mModel.CaretToStart();
    size_t best = 0;
    int bestDistance = std::abs(x - (mFieldLeft + 6));
    for (size_t i = 1; i <= name.size(); ++i) {
      if (i < name.size() && (static_cast<unsigned char>(name[i]) & 0xC0) == 0x80) continue;
      const int distance = std::abs(x - (mFieldLeft + 6 + c.TextWidth(name.substr(0, i))));
      if (distance < bestDistance) {
        bestDistance = distance;
        best = i;
      }
    }
    while (mModel.Caret() < best) mModel.MoveCaret(1);
    Redraw();
  }
}

void X11FilePanel::Moved(int x, int y, bool dragging) {
  if (mPressed < 0 || !dragging) return;
  const bool inside = (mPressed == 1 ? mAccept : mCancel).Contains(x, y);
  if (inside != mPressedInside) {
    mPressedInside = inside;
    Redraw();
  }
}

void X11FilePanel::Released(int x, int y, unsigned button) {
  if (button != Button1 || mPressed < 0) return;
  const int pressed = mPressed;
  mPressed = -1;
  Redraw();
  if (!(pressed == 1 ? mAccept : mCancel).Contains(x, y)) return;
  if (pressed == 0) {
    Cancelled();
    return;
  }
  std::string path;
  const FilePanelModel::Outcome outcome = mModel.Accept(&path);
  Settle(outcome, path);
}

void X11FilePanel::DrawList(DialogCanvas& c) {
  const int left = kMargin, width = kWidth - 2 * kMargin;
  c.Fill(left, kListTop, width, kListHeight, kWhite);
  c.Outline(left, kListTop, width, kListHeight, kBorder);
  const std::vector<FolderEntry>& entries = mModel.Entries();
  const int count = static_cast<int>(entries.size());
  const bool scrolls = count > kRows;
  const int rowWidth = width - 2 - (scrolls ? kScrollBarWidth + 2 : 0);
  c.SetClip(left + 1, kListTop + 1, width - 2, kListHeight - 2);
  for (int i = mTop; i < std::min(count, mTop + kRows); ++i) {
    const FolderEntry& entry = entries[static_cast<size_t>(i)];
    const int top = kListTop + 1 + (i - mTop) * kRowHeight;
    const bool selected = i == mModel.Selected();
    if (selected) c.Fill(left + 1, top, rowWidth, kRowHeight, kAccent);
    const int iconTop = top + (kRowHeight - 13) / 2;
    if (entry.folder) {
      DrawFolderIcon(c, left + 8, iconTop);
    } else {
      DrawFileIcon(c, left + 8, iconTop);
    }
    const int baseline = top + (kRowHeight + c.Ascent() - c.Descent()) / 2;
    const int textLeft = left + 32;
    const Rgb colour = selected ? kWhite : kText;
    if (entry.name == "..") {
      c.Text(textLeft, baseline, "..", colour);
      c.Text(textLeft + c.TextWidth("..") + 10, baseline, "enclosing folder", selected ? kWhite : kQuietText);
    } else {
      c.Text(textLeft, baseline, entry.name, colour, false, rowWidth - 40);
    }
  }
  if (count == 0) {
    c.Text(left + 12, kListTop + 1 + (kRowHeight + c.Ascent() - c.Descent()) / 2, "This folder is empty.",
           kQuietText);
  }
  if (scrolls) {
    const int trackLeft = left + width - kScrollBarWidth - 3, trackTop = kListTop + 3, trackHeight = kListHeight - 6;
    c.Fill(trackLeft, trackTop, kScrollBarWidth, trackHeight, Rgb{238, 238, 238});
    const int thumbHeight = std::max(20, trackHeight * kRows / count);
    const int thumbTop = trackTop + (trackHeight - thumbHeight) * mTop / std::max(1, count - kRows);
    c.Fill(trackLeft + 1, thumbTop, kScrollBarWidth - 2, thumbHeight, Rgb{170, 170, 170});
  }
  c.ClearClip();
}

void X11FilePanel::DrawField(DialogCanvas& c) {
  const int baseline = kFieldTop + (kFieldHeight + c.Ascent() - c.Descent()) / 2;
  c.Text(kMargin, baseline, mModel.Saving() ? "Save as:" : "Name:", kText);
  const int width = kWidth - kMargin - mFieldLeft;
  c.Fill(mFieldLeft, kFieldTop, width, kFieldHeight, kWhite);
  c.Outline(mFieldLeft - 1, kFieldTop - 1, width + 2, kFieldHeight + 2, kFocusRing, 2);
  // Scrolled sideways so that the caret stays in the field.
  const int inner = width - 12;
  const std::string& name = mModel.Name();
  const int caretX = c.TextWidth(name.substr(0, mModel.Caret()));
  const int shift = std::max(0, caretX - inner + 2);
  c.SetClip(mFieldLeft + 3, kFieldTop + 2, width - 6, kFieldHeight - 4);
  c.Text(mFieldLeft + 6 - shift, baseline, name, kText);
  c.Fill(mFieldLeft + 6 - shift + caretX, kFieldTop + 5, 1, kFieldHeight - 10, kText);
  c.ClearClip();
}

void X11FilePanel::Draw(DialogCanvas& c) {
  c.Fill(0, 0, c.Width(), c.Height(), kBackground);
  const int baseline = 14 + c.Ascent();
  c.Text(kMargin, baseline, "Folder", kText, true);
  const int pathLeft = kMargin + c.TextWidth("Folder", true) + 10;
  c.Text(pathLeft, baseline, mModel.Folder(), kText, false, kWidth - kMargin - pathLeft, true);
  DrawList(c);
  DrawField(c);
  const std::string& status = mModel.StatusText();
  const int hintBaseline = kHintTop + c.Ascent();
  if (!status.empty()) {
    c.Text(mFieldLeft, hintBaseline, status, kWarningText, false, kWidth - kMargin - mFieldLeft);
  } else {
    c.Text(mFieldLeft, hintBaseline, TypeHint(mModel), kQuietText);
  }
  DrawButton(c, mCancel, false, mPressed == 0 && mPressedInside, false);
  DrawButton(c, mAccept, true, mPressed == 1 && mPressedInside, false);
}

}  // namespace platform
