#include <cmath>
#include <cstring>
#include <mutex>
#include <string>

#include "lice/DrawContext.h"
#include "lice/DrawPools.h"
#include "lice/DrawRecords.h"
#include "lice/FontNameCache.h"
#include "platform/coretext/Font.h"

namespace {

constexpr float kDefaultFontSize = 10.0f;
constexpr size_t kMaxFaceNameBytes = 899;

// The label font, made once per kind (real or test font, which tests switch
// between) and kept for the process. Contexts on several threads may need it
// first at the same time, hence the lock.
platform::Font* DefaultFont() {
  static std::mutex mutex;
  static platform::Font* fonts[2] = {nullptr, nullptr};
  const int kind = platform::TestFontEnabled() ? 1 : 0;
  std::lock_guard<std::mutex> lock(mutex);
  if (!fonts[kind]) fonts[kind] = platform::CreateDefaultFont(kDefaultFontSize);
  return fonts[kind];
}

float FontSizeFor(int height, int width) {
  float size = std::fabs(static_cast<float>(height != 0 ? height : width));
  if (size < 2.0f || size > 8192.0f) size = kDefaultFontSize;
  return size;
}

// The name the font is made from: the face name's PostScript name when the
// font manager knows it, answered from the cache after the first time.
std::string ResolvedName(const std::string& faceName) {
  if (faceName.empty()) return faceName;
  FontNameCache& cache = FontNameCache::Shared();
  std::string postScriptName;
  if (cache.Lookup(faceName.c_str(), &postScriptName) && !postScriptName.empty()) {
    return postScriptName;
  }
  std::string chosen = platform::ResolveFontName(faceName.c_str());
  if (chosen.empty()) chosen = faceName;
  cache.Insert(faceName.c_str(), chosen.c_str());
  return chosen;
}

}  // namespace

DrawObject* SelectedFontObject(DrawContext* ctx) {
  if (!IsLiveContext(ctx)) return nullptr;
  DrawObject* obj = ctx->mSelected[kDrawObjectFont - 1];
  return IsLiveObject(obj) && obj->mType == kDrawObjectFont && obj->mFont ? obj : nullptr;
}

platform::Font* TextFont(DrawContext* ctx) {
  if (DrawObject* obj = SelectedFontObject(ctx)) return obj->mFont;
  return DefaultFont();
}

DrawObject* CreateFont(int height, int width, int /*escapement*/, int orientation, int weight,
                       char italic, char /*underline*/, char /*strikeOut*/, char /*charSet*/,
                       char /*outputPrecision*/, char /*clipPrecision*/, char quality,
                       char /*pitchAndFamily*/, const char* faceName) {
  DrawObject* obj = AllocDrawObject();
  if (!obj) return nullptr;
  obj->mType = kDrawObjectFont;
  const float size = FontSizeFor(height, width);
  obj->mOrientationDeg = static_cast<float>(orientation / 10.0);

  std::string name = faceName ? std::string(faceName, strnlen(faceName, kMaxFaceNameBytes)) : "";
  if (weight >= 700) name += " Bold";
  if (italic) name += " Italic";
  obj->mFont = platform::CreateFontWithName(ResolvedName(name).c_str(), size);
  if (!obj->mFont) obj->mFont = platform::CreateDefaultFont(size);

  const unsigned char q = static_cast<unsigned char>(quality);
  obj->mQuality = (q == kFontQualityNonAntialiased || q == kFontQualityAntialiased) ? q : 0;
  return obj;
}

void DeleteDrawObject(DrawObject* obj) {
  if (!IsLiveObject(obj)) return;
  if (obj->mExtraRefs > 0) {
    --obj->mExtraRefs;
    return;
  }
  platform::ReleaseFont(obj->mFont);
  std::memset(obj, 0, sizeof(*obj));
  ReleaseDrawObjectRecord(obj);
}

bool GetTextMetrics(DrawContext* ctx, TextMetrics* metrics) {
  if (metrics) *metrics = TextMetrics{16, 12, 4, 3, 10};
  if (!IsLiveContext(ctx) || !metrics) return false;
  platform::Font* font = TextFont(ctx);
  if (!font) return true;
  const int leading = static_cast<int>(platform::FontLeading(font));
  const int ascent = static_cast<int>(platform::FontAscent(font));
  const int descent = static_cast<int>(platform::FontDescent(font));
  const int sum = ascent + descent + leading;
  metrics->mAscent = ascent;
  metrics->mDescent = descent;
  metrics->mLeading = leading;
  metrics->mAveCharWidth = 2 * sum / 3;
  metrics->mHeight = sum != 0 ? sum + 1 : 0;
  return true;
}
