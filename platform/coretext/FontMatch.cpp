#include "platform/coretext/FontMatch.h"

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <mutex>

namespace platform {

namespace {

// fontconfig's configuration is loaded once and kept for the process.
std::mutex& FontconfigMutex() {
  static std::mutex mutex;
  return mutex;
}

FcConfig* Config() {
  static FcConfig* config = FcInitLoadConfigAndFonts();
  return config;
}

bool EndsWith(const std::string& s, const char* suffix) {
  const size_t n = std::strlen(suffix);
  return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

bool ReadMatch(FcPattern* font, FontMatch* out) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) return false;
  out->file = reinterpret_cast<const char*>(file);
  int index = 0;
  out->index = FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch ? index : 0;
  FcChar8* ps = nullptr;
  out->postScriptName =
      FcPatternGetString(font, FC_POSTSCRIPT_NAME, 0, &ps) == FcResultMatch && ps
          ? reinterpret_cast<const char*>(ps)
          : std::string();
  return true;
}

}  // namespace

}  // namespace platform

// fontconfig 2.14 loses a few blocks while parsing its configuration files;
// the leak checker is told to ignore what that library allocated. Kept
// beside the only code that loads the configuration, so that every program
// using it links this too.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace platform {

bool MatchFaceName(const char* faceName, FontMatch* out) {
  std::string family = faceName ? faceName : "";
  bool italic = false, bold = false;
  if (EndsWith(family, " Italic")) {
    italic = true;
    family.resize(family.size() - 7);
  }
  if (EndsWith(family, " Bold")) {
    bold = true;
    family.resize(family.size() - 5);
  }
  if (family.empty()) family = "sans-serif";

  std::lock_guard<std::mutex> lock(FontconfigMutex());
  FcConfig* config = Config();
  if (!config) return false;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* font = FcFontMatch(config, pattern, &result);
  const bool found = font && ReadMatch(font, out);
  if (font) FcPatternDestroy(font);
  FcPatternDestroy(pattern);
  return found;
}

bool MatchPostScriptName(const char* postScriptName, FontMatch* out) {
  if (!postScriptName || !*postScriptName) return false;
  std::lock_guard<std::mutex> lock(FontconfigMutex());
  FcConfig* config = Config();
  if (!config) return false;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_POSTSCRIPT_NAME, nullptr);
  bool found = false;
  if (pattern && objects) {
    FcPatternAddString(pattern, FC_POSTSCRIPT_NAME,
                       reinterpret_cast<const FcChar8*>(postScriptName));
    if (FcFontSet* set = FcFontList(config, pattern, objects)) {
      for (int i = 0; i < set->nfont && !found; ++i) {
        found = ReadMatch(set->fonts[i], out) && out->postScriptName == postScriptName;
      }
      FcFontSetDestroy(set);
    }
  }
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  return found;
}

}  // namespace platform
