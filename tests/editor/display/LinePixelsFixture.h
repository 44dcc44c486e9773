#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <utility>
#include <vector>

#include "graphics/IControl.h"
#include "graphics/IGraphics.h"
#include "lice/lice.h"
#include "tests/graphics/FakeGraphics.h"

// A surface of random pixels to draw lines on twice and compare, either
// directly or from a control's Draw of a given area (where the calls are
// cut to the area and their reach is recorded).
class LinePixelsFixture : public ::testing::Test {
 public:
  static constexpr int kWidth = 160, kHeight = 120;

 protected:
  class AttachPlug : public GraphicsTestPlug {
   public:
    void Attach(IGraphics* g) { AttachGraphics(g); }
  };

  class CallControl : public IControl {
   public:
    CallControl(IPlugBase* plug, const IRECT& rect, std::function<void(IGraphics*)>* draw)
        : IControl(plug, rect), mDraw(draw) {}
    bool Draw(IGraphics* graphics) override {
      (*mDraw)(graphics);
      return true;
    }

   private:
    std::function<void(IGraphics*)>* mDraw;
  };

  LinePixelsFixture() {
    graphics = new FakeGraphics(&plug, kWidth, kHeight);
    plug.Attach(graphics);
    control = new CallControl(&plug, IRECT(0, 0, kWidth, kHeight), &drawCall);
    graphics->AttachControl(control);
  }

  // A busy picture under the drawing, so that every blend shows.
  void Paint(unsigned seed) {
    std::mt19937 rng(seed);
    LICE_IBitmap* s = graphics->GetDrawBitmap();
    for (int y = 0; y < s->getHeight(); ++y) {
      LICE_pixel* row = s->getBits() + y * s->getRowSpan();
      for (int x = 0; x < s->getWidth(); ++x) row[x] = static_cast<LICE_pixel>(rng());
    }
  }

  // The pixels after draw, and the extent recorded for it when drawn in
  // area (empty: drawn outside a Draw).
  std::pair<std::vector<LICE_pixel>, IRECT> Drawn(unsigned seed, const IRECT& area,
                                                  std::function<void(IGraphics*)> draw) {
    Paint(seed);
    IRECT extent;
    if (area.Empty()) {
      draw(graphics);
    } else {
      drawCall = std::move(draw);
      IRECT a = area;
      graphics->Draw(&a);
      extent = control->GetDrawnExtent();
    }
    LICE_IBitmap* s = graphics->GetDrawBitmap();
    std::vector<LICE_pixel> out;
    for (int y = 0; y < s->getHeight(); ++y) {
      const LICE_pixel* row = s->getBits() + y * s->getRowSpan();
      out.insert(out.end(), row, row + s->getWidth());
    }
    return {out, extent};
  }

  AttachPlug plug;
  FakeGraphics* graphics = nullptr;  // owned by the plug-in
  CallControl* control = nullptr;    // owned by the graphics
  std::function<void(IGraphics*)> drawCall;
};
