#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/corefoundation/CFBundle.h"
#include "platform/protools/HostWords.h"
#include "rtas/library/CProcessGroupInterface.h"
#include "rtas/library/CProcessTypeInterface.h"

// The plug-in file as the host sees it: the one group of the loaded bundle.
// It owns the process types (one per channel configuration) and relays the
// host's per-type and per-instance requests to them, counts the live
// instances, links to the host's audio engine while instances exist,
// keeps the bundle's resource map open for them, and owns the global lock
// the entry layer takes around host calls.
//
// Operations the rows of the group-interface table mark FORWARD or
// BROADCAST are generated; the rest of the overrides are written out here.
class CProcessGroup : public CProcessGroupInterface {
 public:
  // Thrown by AddProcessType for a null type or before initialisation.
  class AddProcessTypeEx {};

  CProcessGroup();
  // Releases every type and its instances, the engine link and the lock,
  // then the host's frameworks.
  ~CProcessGroup() override;

  int32_t InitProcessGroup() override;
  int32_t GetProcessTypeName(uint32_t typeID, int32_t maxLength, char* text) override;
  int32_t NewInstance(uint32_t typeID, int32_t* instanceNumber) override;
  int32_t RemoveInstance(uint32_t typeID, int32_t instanceNumber) override;
  int32_t CountProcessTypes(int16_t* count) override;
  int32_t GetProcessObjects(HostWord* p, HostWord* q, uint32_t typeID, int32_t instanceNumber,
                            int32_t unused) override;
  int32_t GetProcessObjects2(HostWord* p, HostWord* q, uint32_t typeID, int32_t instanceNumber,
                             int32_t unused) override;
  int32_t EnableProcessTypes(int32_t kindCode) override;
  int32_t GetFeatureSupport(uint32_t typeID, int32_t feature, int32_t* value) override;
  int32_t GetStemFormatName(uint32_t typeID, int32_t a, int32_t b, uint8_t* text) override;
  int32_t EnterGroupLock() override;
  int32_t TryEnterGroupLock() override;
  int32_t LeaveGroupLock() override;

#define BRIMLOW_GROUP_OVERRIDE_KEEP(Ret, Name, n, types)
#define BRIMLOW_GROUP_OVERRIDE_OWN(Ret, Name, n, types)
#define BRIMLOW_GROUP_OVERRIDE_FORWARD(Ret, Name, n, types) Ret Name(BRIMLOW_PARAMS(n, types)) override;
#define BRIMLOW_GROUP_OVERRIDE_DEFAULT_FORWARD BRIMLOW_GROUP_OVERRIDE_FORWARD
#define BRIMLOW_GROUP_OVERRIDE_BROADCAST BRIMLOW_GROUP_OVERRIDE_FORWARD
#define BRIMLOW_DECLARE_GROUP_OVERRIDE(slot, selector, Ret, Name, kind, result, w1, v1, w2, v2, group, typeSlot, \
                                       TypeName, n, types)                                                       \
  BRIMLOW_CAT(BRIMLOW_GROUP_OVERRIDE_, group)(Ret, Name, n, types)
  BRIMLOW_GROUP_INTERFACE_SLOTS(BRIMLOW_DECLARE_GROUP_OVERRIDE)
#undef BRIMLOW_DECLARE_GROUP_OVERRIDE
#undef BRIMLOW_GROUP_OVERRIDE_KEEP
#undef BRIMLOW_GROUP_OVERRIDE_OWN
#undef BRIMLOW_GROUP_OVERRIDE_FORWARD
#undef BRIMLOW_GROUP_OVERRIDE_DEFAULT_FORWARD
#undef BRIMLOW_GROUP_OVERRIDE_BROADCAST

  // The group's own slots, in the host library's order.
  // 0, -7060 (the host services are older than version 1) or -7075.
  virtual int32_t CreateGroupLock();
  virtual void DeleteGroupLock();
  virtual void ReleaseProcessTypes() { DeleteProcessTypes(); }
  // Links to the engine when it allows it ('hsds') and is alive; 0 always.
  virtual int32_t AttachDAELink();
  virtual int32_t ReleaseDAELink();
  // The effect group makes and adds its types here.
  virtual void CreateProcessTypes() {}
  // Types waiting to be enabled move to the end of the list (in their
  // order), then every type is numbered from 1.
  virtual void ArrangeProcessTypes();
  virtual void NumberProcessTypes();
  virtual void DeleteProcessTypes();
  // The type with that id; CDAEError -7125 when none.
  virtual CProcessTypeInterface* GetProcessType(uint32_t typeID);
  virtual CProcessTypeInterface* FindProcessTypeByID(uint32_t typeID);
  // The product's name as a Pascal string of at most maxLength characters.
  virtual int32_t GetProductName(char* text, int32_t maxLength) = 0;

  // Initialises the type and appends it; AddProcessTypeEx for a null type
  // or before InitProcessGroup made the list.
  void AddProcessType(std::unique_ptr<CProcessTypeInterface> type);
  // The type numbered `index`; CDAEError -7125 when none.
  CProcessTypeInterface* FindProcessType(int16_t index);
  int32_t GetProcessTypeCount() const { return mTypes ? static_cast<int32_t>(mTypes->size()) : 0; }
  CProcessTypeInterface* GetProcessTypeAt(int32_t position) const;

  int32_t GetInstanceCount() const { return mInstanceCount; }
  int32_t GetLockDepth() const { return mLockDepth; }
  FicRef GetLockHandle() const { return mLockHandle; }

  // The bundle's resource map, made current and counted: the first call
  // opens it (CDAEError -7400 without a bundle or when it does not open).
  // Returns the file that was current.
  static int16_t UseResourceFile();
  // Undoes one UseResourceFile: the last closes the map; `previous`
  // becomes current in every case.
  static void RestoreResourceFile(int16_t previous);
  static int32_t GetResourceNesting();

  static CFBundleRef GetBundleRef();
  static CFBundleRef GetBundleRef(CFBundleRef* bundle);
  static void SetBundleRef(CFBundleRef bundle);
  static bool AreViewsDisabled();

  // The engine link: both 0 unless linked. The process layer posts its
  // control messages only while the object is set.
  static FicRef GetDAEServer();
  static FicRef GetDAEObject();
  // Successful instance creations since the group was made (16 bits).
  static uint16_t GetCreationCount();

 private:
  using TypeList = std::vector<std::unique_ptr<CProcessTypeInterface>>;

  // Calls one type operation on every type in order; the first non-zero
  // result, every type visited regardless.
  template <class Call>
  int32_t BroadcastToTypes(Call call);
  // After the last instance, or a failed first creation: the engine link
  // goes and the resource map with it.
  void ReleaseInstanceResources();

  std::unique_ptr<TypeList> mTypes;
  int32_t mInstanceCount = 0;
  FicRef mLockHandle = 0;
  int32_t mLockDepth = 0;
};

// The resource-file exports for code outside the group (the types read
// their page tables between them). They never throw: a failure to open the
// map leaves the current file as it was.
extern "C" {
__attribute__((visibility("default"))) int16_t CProcessGroupUseResourceFile(void);
__attribute__((visibility("default"))) void CProcessGroupRestoreResourceFile(int16_t previous);
__attribute__((visibility("default"))) CFBundleRef CProcessGroupGetBundleRef(void);
}
