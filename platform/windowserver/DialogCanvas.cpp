#include "platform/windowserver/DialogCanvas.h"

#include <algorithm>
#include <cmath>

#include "platform/coregraphics/BitmapContext.h"
#include "platform/coretext/Font.h"
#include "platform/coretext/TextLine.h"
#include "platform/coretext/UTF8Sequence.h"

namespace platform {

namespace {

// Pixels, as the editor's own labels are sized at 100 %.
constexpr double kTextSize = 13.0;
const char kEllipsis[] = "\xE2\x80\xA6";
const char kReplacement[] = "\xEF\xBF\xBD";

bool IsContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the well-formed sequence at s[i], or 0.
size_t SequenceLength(const std::string& s, size_t i) {
  uint32_t cp = 0;
  return UTF8SequenceAt(reinterpret_cast<const unsigned char*>(s.data()) + i, s.size() - i, &cp);
}

// Where the character before byte i starts.
size_t PreviousCharacter(const std::string& s, size_t i) {
  if (i == 0) return 0;
  --i;
  while (i > 0 && IsContinuationByte(static_cast<unsigned char>(s[i]))) --i;
  return i;
}

size_t NextCharacter(const std::string& s, size_t i) {
  if (i >= s.size()) return s.size();
  ++i;
  while (i < s.size() && IsContinuationByte(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

}  // namespace

std::string ValidUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t n = SequenceLength(text, i);
    if (n == 0) {
      out += kReplacement;
      ++i;
    } else {
      out.append(text, i, n);
      i += n;
    }
  }
  return out;
}

DialogCanvas::DialogCanvas(int width, int height)
    : mWidth(std::max(width, 1)), mHeight(std::max(height, 1)),
      mPixels(static_cast<size_t>(mWidth) * mHeight * 4, 0) {
  mRegular = CreateDefaultFont(kTextSize);
  mBold = CreateFontWithName(" Bold", kTextSize);
  if (!mBold) mBold = CreateDefaultFont(kTextSize);
  ClearClip();
  if (mRegular) {
    mAscent = static_cast<int>(std::lround(FontAscent(mRegular)));
    mDescent = static_cast<int>(std::lround(FontDescent(mRegular)));
  }
}

DialogCanvas::~DialogCanvas() {
  ReleaseFont(mRegular);
  ReleaseFont(mBold);
}

void DialogCanvas::SetClip(int x, int y, int width, int height) {
  mClipLeft = std::max(x, 0);
  mClipTop = std::max(y, 0);
  mClipRight = std::min(x + width, mWidth);
  mClipBottom = std::min(y + height, mHeight);
}

void DialogCanvas::Fill(int x, int y, int width, int height, Rgb colour) {
  const int left = std::max(x, mClipLeft), top = std::max(y, mClipTop);
  const int right = std::min(x + width, mClipRight), bottom = std::min(y + height, mClipBottom);
  for (int row = top; row < bottom; ++row) {
    uint8_t* p = &mPixels[(static_cast<size_t>(row) * mWidth + left) * 4];
    for (int column = left; column < right; ++column, p += 4) {
      p[1] = colour.r;
      p[2] = colour.g;
      p[3] = colour.b;
    }
  }
}

void DialogCanvas::Outline(int x, int y, int width, int height, Rgb colour, int thickness) {
  Fill(x, y, width, thickness, colour);
  Fill(x, y + height - thickness, width, thickness, colour);
  Fill(x, y, thickness, height, colour);
  Fill(x + width - thickness, y, thickness, height, colour);
}

int DialogCanvas::TextWidth(const std::string& text, bool bold) {
  Font* font = bold ? mBold : mRegular;
  const std::string valid = ValidUtf8(text);
  if (!font) return 7 * static_cast<int>(valid.size());
  TextLine* line = CreateTextLine(valid.data(), static_cast<int>(valid.size()), font, nullptr);
  const int width = static_cast<int>(std::ceil(GetLineBounds(line).width));
  ReleaseTextLine(line);
  return width;
}

std::string DialogCanvas::Fitted(const std::string& text, bool bold, int maxWidth, bool elideStart) {
  if (maxWidth < 0 || TextWidth(text, bold) <= maxWidth) return text;
  std::string kept = text;
  while (!kept.empty()) {
    kept = elideStart ? kept.substr(NextCharacter(kept, 0)) : kept.substr(0, PreviousCharacter(kept, kept.size()));
    const std::string candidate = elideStart ? kEllipsis + kept : kept + kEllipsis;
    if (TextWidth(candidate, bold) <= maxWidth) return candidate;
  }
  return kEllipsis;
}

void DialogCanvas::Text(int x, int baseline, const std::string& text, Rgb colour, bool bold, int maxWidth,
                        bool elideStart) {
  Font* font = bold ? mBold : mRegular;
  if (!font) return;
  const std::string shown = Fitted(ValidUtf8(text), bold, maxWidth, elideStart);
  const Color c{colour.r / 255.0, colour.g / 255.0, colour.b / 255.0, 1.0};
  TextLine* line = CreateTextLine(shown.data(), static_cast<int>(shown.size()), font, &c);
  BitmapContext context(mPixels.data(), mWidth, mHeight, static_cast<size_t>(mWidth) * 4);
  context.ClipToRect(mClipLeft, mClipTop, mClipRight - mClipLeft, mClipBottom - mClipTop);
  DrawTextLine(&context, line, x, baseline);
  ReleaseTextLine(line);
}

std::vector<std::string> DialogCanvas::Wrap(const std::string& text, int width, bool bold) {
  std::vector<std::string> lines;
  size_t start = 0;
  const std::string valid = ValidUtf8(text);
  while (start <= valid.size()) {
    size_t end = valid.find('\n', start);
    if (end == std::string::npos) end = valid.size();
    std::string paragraph = valid.substr(start, end - start);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
    std::string line;
    size_t word = 0;
    while (word < paragraph.size()) {
      size_t space = paragraph.find(' ', word);
      if (space == std::string::npos) space = paragraph.size();
      std::string next = paragraph.substr(word, space - word);
      const std::string joined = line.empty() ? next : line + " " + next;
      if (TextWidth(joined, bold) <= width) {
        line = joined;
      } else {
        if (!line.empty()) lines.push_back(line);
        // A word too long for a line (a path, say) goes over several.
        while (TextWidth(next, bold) > width) {
          size_t cut = 0;
          while (cut < next.size()) {
            const size_t after = NextCharacter(next, cut);
            if (cut > 0 && TextWidth(next.substr(0, after), bold) > width) break;
            cut = after;
          }
          lines.push_back(next.substr(0, cut));
          next.erase(0, cut);
        }
        line = next;
      }
      word = space + 1;
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace platform
