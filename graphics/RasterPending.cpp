// Temporary: stands in for the raster-backed files until the raster library
// is on main. Removed with the merge that brings it.
#include "graphics/IGraphics.h"

LICE_IBitmap* BitmapStorage::Find(int) { return nullptr; }
LICE_IBitmap* BitmapStorage::Find(int, int, int) { return nullptr; }
LICE_IBitmap* BitmapStorage::Add(LICE_IBitmap*, int) { return nullptr; }
void BitmapStorage::RemoveAll() {}
int BitmapStorage::NBitmaps() { return 0; }
LICE_IFont* FontStorage::Find(const IText&) { return nullptr; }
LICE_IFont* FontStorage::Add(LICE_IFont*, const IText&) { return nullptr; }
void FontStorage::RemoveAll() {}
int FontStorage::NFonts() { return 0; }

void IGraphics::PrepDraw() {}
void IGraphics::DeleteDrawBitmaps() {}
bool IGraphics::MeasureIText(IText*, const char*, IRECT*) { return true; }
bool IGraphics::FillIRect(const IColor*, const IRECT*, const IChannelBlend*) { return true; }
void IGraphics::ClearScaledBitmapCache() {}
