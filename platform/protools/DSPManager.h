#pragma once

#include <cstdint>

// The host's DSP manager as the library reaches it: "GetDSPManager" gives a
// reference-counted object, which is asked for the connection interface by
// its identifier. Both follow the COM layout: a pointer to a table whose
// first three operations are QueryInterface, AddRef and Release.
extern "C" {

struct SInterfaceID {
  uint8_t mBytes[16];
};

// {27B87CA0-2294-11D2-817A-0160089A8916} as stored in memory.
constexpr SInterfaceID kDSPManagerConnectionIID = {
    {0xa0, 0x7c, 0xb8, 0x27, 0x94, 0x22, 0xd2, 0x11, 0x81, 0x7a, 0x01, 0x60, 0x08, 0x9a, 0x89, 0x16}};

// Negative answers are failures (no such interface: 0x80004002).
constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002u);

struct SDSPManager;
struct SDSPManagerVtbl {
  int32_t (*QueryInterface)(SDSPManager* self, const SInterfaceID* iid, void** out);
  uint32_t (*AddRef)(SDSPManager* self);
  uint32_t (*Release)(SDSPManager* self);
};
struct SDSPManager {
  const SDSPManagerVtbl* mVtbl;
};

// The connection interface. The processes and groups handed over are the
// library's COM interfaces (IProcess2, IProcessGroup); chips are opaque.
struct SDSPManagerConnection;
struct SDSPManagerConnectionVtbl {
  int32_t (*QueryInterface)(SDSPManagerConnection* self, const SInterfaceID* iid, void** out);
  uint32_t (*AddRef)(SDSPManagerConnection* self);
  uint32_t (*Release)(SDSPManagerConnection* self);
  int32_t (*Connect)(SDSPManagerConnection* self, void* process);      // fourth
  int32_t (*Disconnect)(SDSPManagerConnection* self, void* process);   // fifth
  int32_t (*Activate)(SDSPManagerConnection* self, void* process);     // sixth
  int32_t (*Deactivate)(SDSPManagerConnection* self, void* process);   // seventh
  int32_t (*AllocateChip)(SDSPManagerConnection* self, void* group, void** chip);  // eighth
  int32_t (*ReleaseChip)(SDSPManagerConnection* self, void* chip);     // ninth
};
struct SDSPManagerConnection {
  const SDSPManagerConnectionVtbl* mVtbl;
};

typedef SDSPManager* (*GetDSPManagerProc)(void);

}  // extern "C"
