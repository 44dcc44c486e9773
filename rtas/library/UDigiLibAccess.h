#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/carboncore/MacTypes.h"
#include "platform/corefoundation/CFBundle.h"

// One of the host's frameworks, loaded, with every function the library may
// call resolved by name into a table indexed by a fixed number. A name the
// framework lacks leaves its slot null; the wrappers answer for it.
class UDigiLibAccess {
 public:
  // One row of a class's name table.
  struct SFunctionName {
    int32_t mIndex;
    const char* mName;
  };

  // The identifier is static text and is not copied.
  UDigiLibAccess(int32_t functionCount, ConstStr255Param identifier);
  virtual ~UDigiLibAccess();
  UDigiLibAccess(const UDigiLibAccess&) = delete;
  UDigiLibAccess& operator=(const UDigiLibAccess&) = delete;

  // The counted name of function `index`: 0, or -1 when the class's table
  // has none.
  virtual int32_t GetFunctionName(int32_t index, Str255 name) const = 0;

  // Loads the framework and resolves every function; 0 or the loader's
  // status. The current resource file is the same afterwards.
  OSErr OpenLibrary();
  // 0, or -9007 when the index has no name or the framework no function
  // of that name.
  OSErr LoadLibraryFunction(int32_t index);
  // Null when unresolved; the caller keeps the index below the count.
  void* GetLibraryFunction(int32_t index) const { return mFunctionTable[index]; }

  int32_t FunctionCount() const { return mFunctionCount; }
  CFBundleRef Bundle() const { return mBundle; }
  ConstStr255Param Identifier() const { return mIdentifier; }

 protected:
  // Walks the rows from the first: the first row with the index wins.
  static int32_t FindFunctionName(const SFunctionName* table, size_t rows, int32_t index, Str255 name);

 private:
  ConstStr255Param mIdentifier;
  int32_t mFunctionCount;
  CFBundleRef mBundle = nullptr;
  void** mFunctionTable;
};
