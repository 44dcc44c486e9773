#include "rtas/library/CSmartStructure.h"

namespace {

// Main thread only: set by each structure's constructor, read by the field
// objects that follow it.
CSmartStructure* gUnderConstruction = nullptr;

}  // namespace

CSmartStructure::CSmartStructure() { gUnderConstruction = this; }

CSmartStructure::~CSmartStructure() {
  if (gUnderConstruction == this) gUnderConstruction = nullptr;
}

CSmartStructure* CSmartStructure::GetStructureUnderConstruction() { return gUnderConstruction; }

void CSmartStructure::Declare(int32_t* offset, int32_t width) {
  *offset = mLayoutSize;
  mLayoutSize += width;
}

int32_t CSmartStructure::ReadInt32(int32_t) { return 0; }
void* CSmartStructure::ReadPointer(int32_t) { return nullptr; }
float CSmartStructure::ReadFloat(int32_t) { return 0.0f; }
double CSmartStructure::ReadDouble(int32_t) { return 0.0; }
uint8_t CSmartStructure::ReadByte(int32_t) { return 0; }

void CSmartStructure::WriteInt32(int32_t, int32_t) {}
void CSmartStructure::WritePointer(int32_t, void*) {}
void CSmartStructure::WriteFloat(int32_t, float) {}
void CSmartStructure::WriteDouble(int32_t, double) {}
void CSmartStructure::WriteByte(int32_t, uint8_t) {}
