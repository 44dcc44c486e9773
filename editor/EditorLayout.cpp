#include "editor/EditorLayout.h"

// The controls arrive with the editor; until then the plug-in builds with
// an empty control list, and the meter control indices stay at -1.
namespace EditorLayout {

void LayoutGUI(Brimlow*, IGraphics*, int) {}

void UpdateViewLayout(Brimlow*) {}

}  // namespace EditorLayout
