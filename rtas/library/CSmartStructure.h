#pragma once

#include <cstdint>

#include "rtas/library/CSet.h"

// A structure whose fields are declared one by one while it is built:
// each field object, constructed after the structure's base, takes the
// structure under construction as its owner and is given the next offset
// in a packed layout. The values themselves live wherever the derived
// class keeps them (CPlugInData); here the readers answer 0 and the
// writers do nothing.
class CSmartStructure {
 public:
  CSmartStructure();
  virtual ~CSmartStructure();
  CSmartStructure(const CSmartStructure&) = delete;
  CSmartStructure& operator=(const CSmartStructure&) = delete;

  // Each writes the field's offset and grows the layout by its width.
  virtual void DeclareInt32(int32_t* offset) { Declare(offset, 4); }
  virtual void DeclarePointer(int32_t* offset) { Declare(offset, sizeof(void*)); }
  virtual void DeclareFloat(int32_t* offset) { Declare(offset, 4); }
  virtual void DeclareDouble(int32_t* offset) { Declare(offset, 8); }
  virtual void DeclareByte(int32_t* offset) { Declare(offset, 1); }

  virtual int32_t ReadInt32(int32_t offset);
  virtual void* ReadPointer(int32_t offset);
  virtual float ReadFloat(int32_t offset);
  virtual double ReadDouble(int32_t offset);
  virtual uint8_t ReadByte(int32_t offset);

  virtual void WriteInt32(int32_t offset, int32_t value);
  virtual void WritePointer(int32_t offset, void* value);
  virtual void WriteFloat(int32_t offset, float value);
  virtual void WriteDouble(int32_t offset, double value);
  virtual void WriteByte(int32_t offset, uint8_t value);

  int32_t GetLayoutSize() const { return mLayoutSize; }

  // Meaningful only between a structure's constructor and the construction
  // of its fields.
  static CSmartStructure* GetStructureUnderConstruction();

 private:
  void Declare(int32_t* offset, int32_t width);

  CSet<void> mUnusedSet;  // part of the host library's layout; never filled
  int32_t mLayoutSize = 0;
};

// A field of a smart structure: its offset and its owner. T is one of
// int32_t, void*, float, double and uint8_t.
template <class T>
class CSmartField {
 public:
  CSmartField();
  CSmartField(const CSmartField&) = delete;
  CSmartField& operator=(const CSmartField&) = delete;

  T Get() const;
  void Set(T value);
  int32_t GetOffset() const { return mOffset; }

 private:
  int32_t mOffset = 0;
  CSmartStructure* mOwner;
};

#define BRIMLOW_SMART_FIELD(Type, Kind)                                                             \
  template <>                                                                                       \
  inline CSmartField<Type>::CSmartField() : mOwner(CSmartStructure::GetStructureUnderConstruction()) { \
    mOwner->Declare##Kind(&mOffset);                                                                \
  }                                                                                                 \
  template <>                                                                                       \
  inline Type CSmartField<Type>::Get() const {                                                      \
    return mOwner->Read##Kind(mOffset);                                                             \
  }                                                                                                 \
  template <>                                                                                       \
  inline void CSmartField<Type>::Set(Type value) {                                                  \
    mOwner->Write##Kind(mOffset, value);                                                            \
  }
BRIMLOW_SMART_FIELD(int32_t, Int32)
BRIMLOW_SMART_FIELD(void*, Pointer)
BRIMLOW_SMART_FIELD(float, Float)
BRIMLOW_SMART_FIELD(double, Double)
BRIMLOW_SMART_FIELD(uint8_t, Byte)
#undef BRIMLOW_SMART_FIELD
