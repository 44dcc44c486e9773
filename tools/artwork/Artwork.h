#pragma once

#include <functional>
#include <string>
#include <vector>

// The editor's images, drawn from scratch. texts(param) gives a parameter's
// display texts in value order, which label its selector's frames.
using ParamTexts = std::function<std::vector<std::string>(int paramIdx)>;

struct ArtworkImage {
  std::string fileName;
  int width, height, frames;  // one frame at 100 %
};

// Every image the editor loads, with the size of one frame at 100 %.
const std::vector<ArtworkImage>& ArtworkImages();

// Draws and writes every image into folder (which must exist); false and a
// message on stderr for the first that cannot be written.
bool WriteArtwork(const std::string& folder, const ParamTexts& texts);
