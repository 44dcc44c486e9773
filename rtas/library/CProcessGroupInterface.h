#pragma once

#include <cstddef>
#include <cstdint>

#include "rtas/library/GroupInterfaceSlots.h"
#include "rtas/library/HostRecords.h"
#include "rtas/library/SlotMacros.h"

// The plug-in file as the host addresses it: one operation per request the
// host can make of the plug-in as a whole, of a process type or of one
// instance, each with a harmless default. The operations, their order,
// arguments and defaults are the rows of BRIMLOW_GROUP_INTERFACE_SLOTS;
// the process group overrides most of them, and the effect and plug-in
// groups above it a few more. A few defaults are the behaviour in every
// build: the host callbacks, the selector test, the lock yield and the
// host-interface version.
class CProcessGroupInterface {
 public:
  // Records the host packs on its stack for some selectors.
  struct SProcessSpecifier {
    uint32_t mTypeID;
    int32_t mInstance;
  };
  struct SControlSpecifier {
    uint32_t mTypeID;
    int32_t mInstance;
    int32_t mControl;
  };
  struct SParamSpecifier {
    uint32_t mTypeID;
    int32_t mInstance;
    int16_t mValue1;
    int16_t mValue2;
    int16_t mValue3;
  };
  struct SStemSpecifier {
    int32_t mFirst;
    int32_t mSecond;
  };

  // Sets the process-wide host-interface version to 99.
  CProcessGroupInterface();
  virtual ~CProcessGroupInterface();
  CProcessGroupInterface(const CProcessGroupInterface&) = delete;
  CProcessGroupInterface& operator=(const CProcessGroupInterface&) = delete;

#define BRIMLOW_DECLARE_SUFFIX_ANSWER
#define BRIMLOW_DECLARE_SUFFIX_CUSTOM
#define BRIMLOW_DECLARE_SUFFIX_PURE = 0
#define BRIMLOW_DECLARE_SLOT(slot, selector, Ret, Name, kind, result, w1, v1, w2, v2, group, typeSlot, TypeName, n, \
                             types)                                                                                 \
  virtual Ret Name(BRIMLOW_PARAMS(n, types)) BRIMLOW_CAT(BRIMLOW_DECLARE_SUFFIX_, kind);
  BRIMLOW_GROUP_INTERFACE_SLOTS(BRIMLOW_DECLARE_SLOT)
#undef BRIMLOW_DECLARE_SLOT
#undef BRIMLOW_DECLARE_SUFFIX_ANSWER
#undef BRIMLOW_DECLARE_SUFFIX_CUSTOM
#undef BRIMLOW_DECLARE_SUFFIX_PURE

  // Adapters: each unpacks what the host's entry packed and calls one slot.
  int32_t SetHostCallback(HostCallbackProc procedure);                                     // selector 14
  int32_t SetHostContext(void* context);                                                   // 38
  int32_t StoreTDMAutoElemResult(uint32_t typeID, int32_t instance, int32_t a3,            // 73
                                 SFicTDMAutoElem*** result);
  int32_t StorePointerResult(uint32_t typeID, int32_t instance, int32_t a3, void** result);  // 74
  int32_t UnpackProcessSpecifier(const SProcessSpecifier* specifier, uint32_t a3, int16_t a4, int16_t a5,
                                 int16_t a6);  // 121
  int32_t UnpackControlSpecifier(const SControlSpecifier* specifier, char* text, int32_t a5, uint32_t a6,
                                 int16_t* a7);  // 131
  int32_t UnpackControlSpecifierLongText(const SControlSpecifier* specifier, int32_t value, char* text,
                                         int32_t length);                                      // 90
  int32_t UnpackControlSpecifierText(const SControlSpecifier* specifier, char* text, int32_t* value);  // 175
  int32_t UnpackStemSpecifiers(SFicPlugInSpec* spec, int32_t a2, const SStemSpecifier* first,
                               const SStemSpecifier* second);  // 138
  int32_t UnpackParamSpecifier(const SParamSpecifier* specifier, int16_t* out);               // 96
  int32_t UnpackParamSpecifierWithText(const SParamSpecifier* specifier, int16_t value, char* text);  // 97

  // Slot 110 of the one group, for the DSP-card side: -7026 without a group.
  static int16_t ForwardToGroupSlot110(HostWord chip, int32_t kind, void* out);

  // The one group of the loaded bundle, kept by whoever creates it (the
  // entry layer); null when there is none.
  static CProcessGroupInterface* GetGroupReference();
  static void SetGroupReference(CProcessGroupInterface* group);

  // Process-wide: 99 from the first group's construction. The entry layer
  // takes the global lock around a host call only when it is not 0.
  static int32_t GetHostInterfaceVersion();
  // The host's callback procedure, null until selector 14 gives one.
  static HostCallbackProc GetHostCallback();
  // Sends a parameter block to the host through its callback procedure
  // in a locked memory handle; the host's 16-bit status, -7175 without a
  // procedure, -7176 without memory.
  static int32_t CallHost(int16_t callbackSelector, const void* block, size_t blockBytes);

  void* GetHostContext() const { return mHostContext; }
  // The effect types keep this address to read the context later.
  void** GetHostContextAddress() { return &mHostContext; }
  int32_t GetSharedPairValue() const { return mSharedPair; }

  // Selectors that a host may ask about: 0 to 175 and the six above 65529.
  static constexpr int32_t kSelectorCount = 176;
  static constexpr int32_t kFirstHighSelector = 65530;

 protected:
  // One pass of the system's event loop, so the host can run while the
  // lock is yielded.
  virtual void LetSystemRun();

 private:

  int32_t mSharedPair = 0;
  int32_t mSampleRate = 44100;
  SFicTimeCodeInfo mTimeCode;
  void* mHostContext = nullptr;
};
