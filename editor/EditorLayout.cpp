#include "editor/EditorLayout.h"

#include "plugin/controller/Brimlow.h"

// The controls arrive with the editor; until then the plug-in builds with
// an empty control list, and the meter control indices stay at -1.
namespace EditorLayout {

void LayoutGUI(Brimlow*, IGraphics*, int) {}

void UpdateViewLayout(Brimlow*) {}

void AnalyzerRefreshCallback(void* context) {
  if (context) static_cast<Brimlow*>(context)->UpdateAnalyzers();
}

}  // namespace EditorLayout
