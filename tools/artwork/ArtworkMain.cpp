// Draws the editor's images and writes them as PNG files:
//   brimlow_artwork [FOLDER]      (default: resources/img)
// The selectors are labelled with the plug-in's own parameter texts.
#include <clocale>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/IParam.h"
#include "plugin/controller/Brimlow.h"
#include "tools/artwork/Artwork.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C");
  const std::string folder = argc > 1 ? argv[1] : "resources/img";
  std::unique_ptr<Brimlow> plug(MakePlug());
  const ParamTexts texts = [&](int paramIdx) {
    std::vector<std::string> list;
    const IParam* param = plug->GetParam(paramIdx);
    for (int i = 0; param && i < param->GetNDisplayTexts(); ++i) list.push_back(param->GetDisplayTextAtIdx(i));
    return list;
  };
  if (!WriteArtwork(folder, texts)) return 1;
  std::printf("artwork: %zu images in %s\n", ArtworkImages().size(), folder.c_str());
  return 0;
}
