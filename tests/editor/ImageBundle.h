#pragma once

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "lice/lice.h"
#include "platform/corefoundation/CFBundle.h"
#include "platform/corefoundation/CFString.h"
#include "platform/corefoundation/CFURL.h"
#include "plugin/controller/Brimlow.h"
#include "tests/ScratchFolder.h"

// A plug-in bundle in a scratch folder holding the editor's images (all of
// resources/img, or all but the names left out), known by the plug-in's
// identifier while the object lives, so an editor made meanwhile loads its
// images from it.
class ImageBundle {
 public:
  explicit ImageBundle(const std::set<std::string>& leftOut = {}) {
    namespace fs = std::filesystem;
    const fs::path contents = fs::path(mFolder.Path()) / "Brimlow.dpm" / "Contents";
    fs::create_directories(contents / "Resources");
    std::ofstream(contents / "Info.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
        << "  <key>CFBundleIdentifier</key>\n  <string>" << Brimlow::kBundleID << "</string>\n"
        << "</dict>\n</plist>\n";
    for (const auto& entry : fs::directory_iterator(BRIMLOW_IMAGE_DIR)) {
      const std::string name = entry.path().filename().string();
      if (!leftOut.count(name)) fs::copy_file(entry.path(), contents / "Resources" / name);
    }
    const std::string path = (fs::path(mFolder.Path()) / "Brimlow.dpm").string();
    CFStringRef text = CFStringCreateWithCString(nullptr, path.c_str(), kCFStringEncodingUTF8);
    CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, text, kCFURLPOSIXPathStyle, true);
    mBundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    CFRelease(text);
  }
  ~ImageBundle() { CFRelease(mBundle); }
  ImageBundle(const ImageBundle&) = delete;
  ImageBundle& operator=(const ImageBundle&) = delete;

  bool Ok() const { return mBundle != nullptr; }

  // One frame of an image at 100 %: the file's size halved (the images are
  // drawn at twice the editor's size), the height split into its frames.
  static void FrameSize(const std::string& name, int frames, int* w, int* h) {
    LICE_IBitmap* image = LICE_LoadPNG((std::string(BRIMLOW_IMAGE_DIR) + "/" + name).c_str(), nullptr);
    *w = image ? image->getWidth() / 2 : 0;
    *h = image ? image->getHeight() / 2 / frames : 0;
    delete image;
  }

 private:
  ScratchFolder mFolder;
  CFBundleRef mBundle = nullptr;
};
