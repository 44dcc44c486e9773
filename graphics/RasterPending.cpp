// Temporary: stands in for the text-backed files until the text library is
// on main. Removed with the merge that brings it.
#include "graphics/IGraphics.h"

LICE_IFont* FontStorage::Find(const IText&) { return nullptr; }
LICE_IFont* FontStorage::Add(LICE_IFont*, const IText&) { return nullptr; }
void FontStorage::RemoveAll() {}
int FontStorage::NFonts() { return 0; }

LICE_IFont* IGraphics::CacheFont(IText*) { return nullptr; }
bool IGraphics::DrawIText(IText*, const char* str, IRECT*, bool) { return !str || !*str; }
bool IGraphics::MeasureIText(IText*, const char*, IRECT*) { return true; }
