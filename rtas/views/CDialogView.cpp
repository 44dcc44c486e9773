#include "rtas/views/CDialogView.h"

#include <vector>

#include "rtas/views/CViewGroupServices.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/views/ViewResources.h"

namespace {

constexpr OSType kDLOGType = 0x444C4F47;  // 'DLOG'
constexpr OSType kDITLType = 0x4449544C;  // 'DITL'
// Bounds at 0, the item list's id at 18.
constexpr size_t kDLOGItemListOffset = 18;

// Big-endian, as resources are stored.
int16_t Word(const std::vector<uint8_t>& bytes, size_t at) {
  return static_cast<int16_t>(bytes[at] << 8 | bytes[at + 1]);
}

}  // namespace

CDialogView::~CDialogView() { DisposePixPat(mPattern); }

void CDialogView::RealizeIfRoot() {
  std::vector<uint8_t> dlog;
  if (!ReadResourceBytes(kDLOGType, GetDialogID(), &dlog)) throw CDAEError(-7053);
  // A record too short for the item list's id is refused, not read past.
  ThrowIfFalse(dlog.size() >= kDLOGItemListOffset + 2);
  const int16_t top = Word(dlog, 0), left = Word(dlog, 2), bottom = Word(dlog, 4), right = Word(dlog, 6);
  SetFrameRect(Rect{0, 0, static_cast<int16_t>(bottom - top), static_cast<int16_t>(right - left)});
  SetEnabled(false);
  SetItemListID(Word(dlog, kDLOGItemListOffset));
  std::vector<uint8_t> ditl;
  if (!ReadResourceBytes(kDITLType, GetItemListID(), &ditl)) throw CDAEError(-7053);
  BuildItems(ditl.data(), ditl.size());
  CCustomView::RealizeIfRoot();
}

void CDialogView::AttachPort(GrafPtr port) {
  if (port && !mPatternLoaded) {
    mPatternLoaded = true;
    GrafPtr saved = GetPort();
    SetPort(port);
    {
      CBundleResourceScope bundle;
      mPattern = LoadPixPat(GetPatternID());
    }
    SetPort(saved);
  }
  CItemListView::AttachPort(port);
}
