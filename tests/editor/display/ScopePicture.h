#pragma once

// Writes a surface into the build tree as a PNG, for a person to look at.

#include <string>

#include "lice/lice.h"
#include "tests/lice/PNGTestFiles.h"

inline bool WriteSurfacePNG(LICE_IBitmap* surface, const std::string& name) {
  LiceTest::PNGDescription d;
  d.width = surface->getWidth();
  d.height = surface->getHeight();
  d.colorType = PNG_COLOR_TYPE_RGB;
  d.samples.reserve(static_cast<size_t>(d.width) * d.height * 3);
  for (int y = 0; y < d.height; ++y) {
    const LICE_pixel* row = surface->getBits() + static_cast<size_t>(y) * surface->getRowSpan();
    for (int x = 0; x < d.width; ++x) {
      d.samples.push_back(LICE_GETR(row[x]));
      d.samples.push_back(LICE_GETG(row[x]));
      d.samples.push_back(LICE_GETB(row[x]));
    }
  }
  return LiceTest::WritePNG(std::string(BRIMLOW_TEST_OUTPUT_DIR) + "/" + name, d);
}
