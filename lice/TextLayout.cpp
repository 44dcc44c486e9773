#include "lice/TextLayout.h"

#include <algorithm>
#include <cmath>

#include "lice/DrawContext.h"

namespace {

constexpr size_t kMaxCleanedBytes = 4095;

// Bytes a UTF-8 lead byte announces, 0 for a byte that cannot lead.
int SequenceLength(unsigned char b) {
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

// Drops a character the size limit cut short; the platform would refuse
// the whole string for it and nothing would be drawn.
void DropCutCharacter(std::string* s) {
  size_t start = s->size();
  for (int back = 0; back < 3 && start > 0; ++back) {
    const unsigned char b = static_cast<unsigned char>((*s)[start - 1]);
    if ((b & 0xC0) != 0x80) break;
    --start;
  }
  if (start == 0) return;
  const size_t lead = start - 1;
  const int need = SequenceLength(static_cast<unsigned char>((*s)[lead]));
  if (need > 1 && s->size() - lead < static_cast<size_t>(need)) s->resize(lead);
}

}  // namespace

CleanedText CleanDrawText(const char* text, int byteCount, int flags) {
  CleanedText out;
  if (!text) return out;
  bool afterPrefix = false;
  bool cut = false;
  for (int i = 0; byteCount < 0 || i < byteCount; ++i) {
    const char c = text[i];
    if (c == '\0') break;
    if (c == '\r') {
      afterPrefix = false;
      continue;
    }
    char kept = c;
    if (c == '\n') {
      if (flags & kDrawTextSingleLine) {
        kept = ' ';
      } else {
        out.multiLine = true;
      }
    } else if (c == '&' && !(flags & kDrawTextNoPrefix) && !afterPrefix) {
      afterPrefix = true;
      continue;
    }
    afterPrefix = false;
    if (out.text.size() >= kMaxCleanedBytes) {
      cut = true;
      break;
    }
    out.text.push_back(kept);
  }
  if (cut) DropCutCharacter(&out.text);
  return out;
}

bool IsWellFormedUTF8(const std::string& text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    const int len = SequenceLength(s[i]);
    if (len == 0 || i + len > n) return false;
    for (int k = 1; k < len; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return false;
    }
    // Overlong three- and four-byte forms, surrogates, past U+10FFFF.
    if (len == 3 && s[i] == 0xE0 && s[i + 1] < 0xA0) return false;
    if (len == 3 && s[i] == 0xED && s[i + 1] >= 0xA0) return false;
    if (len == 4 && s[i] == 0xF0 && s[i + 1] < 0x90) return false;
    if (len == 4 && s[i] == 0xF4 && s[i + 1] >= 0x90) return false;
    i += len;
  }
  return true;
}

TextLayout::TextLayout(const CleanedText& text, platform::Font* font, const platform::Color* color) {
  std::vector<std::pair<size_t, size_t>> spans;  // start, length
  if (text.multiLine) {
    size_t start = 0;
    while (start < text.text.size()) {
      const size_t end = std::min(text.text.find('\n', start), text.text.size());
      spans.emplace_back(start, end - start);
      start = end + 1;
    }
  } else {
    spans.emplace_back(0, text.text.size());
  }
  double widest = 0.0, height = 0.0;
  for (const auto& span : spans) {
    platform::TextLine* line = platform::CreateTextLine(
        text.text.data() + span.first, static_cast<int>(span.second), font, color);
    if (!line) {
      for (const Line& l : mLines) platform::ReleaseTextLine(l.line);
      mLines.clear();
      return;
    }
    const platform::LineBounds b = platform::GetLineBounds(line);
    mLines.push_back(Line{line, b});
    widest = std::max(widest, std::floor(b.width + 0.5));
    height += std::floor(b.ascent + b.descent + b.leading + 1.5);
  }
  mWidth = static_cast<int>(widest);
  mHeight = static_cast<int>(height);
}

TextLayout::~TextLayout() {
  for (const Line& l : mLines) platform::ReleaseTextLine(l.line);
}
