// A full redraw of the editor: a hundred panel controls in a grid, every one
// dirty, drawn into the surface through Draw (the dirty scan and the draw
// loop included, the screen copy being the fake platform's no-op). Opaque
// panels take the fill's whole-word store; greyed ones draw at a quarter
// weight, the path a greyed editor takes.
#include <benchmark/benchmark.h>

#include "graphics/controls/IPanelControl.h"
#include "tests/graphics/FakeGraphics.h"

namespace {

constexpr int kColumns = 10;
constexpr int kRows = 10;

void BM_DrawHundredPanels(benchmark::State& state) {
  GraphicsTestPlug plug;
  auto* graphics = new FakeGraphics(&plug, 872, 632);
  plug.AttachGraphics(graphics);
  const bool greyed = state.range(0) != 0;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const IRECT rect(column * 87, row * 63, column * 87 + 80, row * 63 + 56);
      auto* panel = new IPanelControl(&plug, IRECTResize::Scaled(rect), IColor(255, 40 + row * 20, 90, column * 25));
      panel->GrayOut(greyed);
      graphics->AttachControl(panel);
    }
  }
  for (auto _ : state) {
    graphics->SetAllControlsDirty(false);
    IRECT area;
    graphics->IsDirty(&area);
    graphics->Draw(&area);
    graphics->mScreenRects.clear();
    benchmark::DoNotOptimize(area);
  }
  state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}

}  // namespace

// 0: opaque panels, 1: greyed panels.
BENCHMARK(BM_DrawHundredPanels)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
