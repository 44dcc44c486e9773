#pragma once

#include <cstddef>
#include <cstdint>

// Every result code the library and the binding produce, one row each:
// name, code, when it is raised. 0 is success; codes from the host's
// frameworks and the Resource Manager pass through unchanged and are not
// listed. Kept as data so the table can be read, and checked, in one place.
#define BRIMLOW_DAE_RESULT_CODES(X)                                                                           \
  X(kNotFound, -1, "a small lookup finds nothing (page tables, parsers, framework lookups)")                 \
  X(kUnknownTypeNumber, -77, "a type number or type id the group or the effect type does not know")         \
  X(kDSPStateMemory, -108, "the DSP side's state memory is missing or too small")                           \
  X(kDSPCreateQuery, -1024, "a DSP type's creation fails while the new process's query 39 answers 2")       \
  X(kFunctionMissing, -2802, "a framework is loaded but the named function is absent")                      \
  X(kFrameworkNotLoaded, -2812, "a framework wrapper is called while its framework is not loaded")          \
  X(kUnsupported, -7000, "default of an operation the object does not support")                            \
  X(kNoGroup, -7003, "NewMachOPlugIn cannot create the process group")                                      \
  X(kNoGroupForDSP, -7026, "a call from the DSP side finds no process group; one adaptor query's default")  \
  X(kNoDSPManagerObject, -7027, "a DSP type has no DSP-manager object when it must connect an instance")    \
  X(kMissingObject, -7053, "a required object is missing (null control, null pointer, no creation)")        \
  X(kNoMatchingSpec, -7055, "the record naming a plug-in type matches no effect type; one group slot's default")              \
  X(kLockVersion, -7060, "the host-services object answers a version below 1 when the lock is made")        \
  X(kNoDSPCode, -7061, "the DSP code's 'SACD' resource is missing")                                         \
  X(kLockCreate, -7075, "creating the global critical section fails")                                       \
  X(kNoCreatedObject, -7077, "a DSP type's creation call succeeded but returned no object")                 \
  X(kNoDSPManager, -7080, "the DSP-manager object cannot be obtained for a DSP instance")                   \
  X(kInputSlotInUse, -7100, "connecting an input port slot that already holds a connection")                \
  X(kOutputSlotInUse, -7101, "connecting an output port slot that already holds a connection")              \
  X(kGroupSlotDefault, -7102, "default of one process-group slot and its interface counterpart")            \
  X(kPortGroupEnd, -7103, "the port-group lookup walked past its list")                                     \
  X(kPortFormat, -7104, "a port format other than the one accepted")                                        \
  X(kPortSlotRange, -7106, "a port slot number outside 1 to the number of slots")                           \
  X(kPortSlotEmpty, -7107, "disconnecting a port slot that holds no connection")                            \
  X(kStemFormats, -7110, "the three-value stem-format query; its outputs are set to -100")                  \
  X(kUnknownType, -7125, "no process type of the group has the given four-character type id")               \
  X(kNoInstance, -7126, "no process instance has the given 1-based number")                                 \
  X(kRemoveInstance, -7150, "removing an instance from the DSP process group fails")                        \
  X(kInputsNotReady, -7152, "setting the number of inputs while the readiness query answers false")         \
  X(kOutputsNotReady, -7153, "setting the number of outputs while the readiness query answers false")       \
  X(kUnknownChunk, -7157, "a chunk id or index not handled, or a chunk header of another plug-in")          \
  X(kNoHostCallback, -7175, "a host message finds its callback or the host link missing")                   \
  X(kNoHandle, -7176, "a host message cannot allocate its handle")                                          \
  X(kNoHostInterface, -7201, "a DSP chip has no host interface")                                            \
  X(kDSPTimeout, -7218, "a DSP chip does not answer within 30 ticks")                                       \
  X(kControlRange, -7300, "a control number outside 1 to the number of controls")                           \
  X(kProcessSlotDefault, -7304, "default of one CDSPProcess slot and its group-interface counterpart")      \
  X(kConditionFailed, -7400, "a required condition is false (ThrowIfFalse)")                                \
  X(kUnexpected, -7401, "any other failure reaching an entry point; unreadable text; bad stem format")      \
  X(kDSPQuery, -7433, "a DSP process's operation 64 answers -1")                                            \
  X(kOutOfMemory, -9006, "lack of memory reaching an entry point; plug-in data without its buffer")         \
  X(kNoEntry, -9007, "a selector without an entry; a function missing from a name table; slot defaults")    \
  X(kNullOutput, -9013, "a null output given to a DSP type query; a port lookup that finds nothing")        \
  X(kNoData, -9060, "plug-in data used before its buffer exists")                                           \
  X(kFolderMissing, -9064, "a host framework's folder path does not exist")                                 \
  X(kFrameworkNotFound, -9065, "a host framework bundle cannot be found, created or loaded")

namespace DAEResult {

constexpr int32_t kOK = 0;
#define BRIMLOW_DAE_RESULT_CONSTANT(name, code, meaning) constexpr int32_t name = code;
BRIMLOW_DAE_RESULT_CODES(BRIMLOW_DAE_RESULT_CONSTANT)
#undef BRIMLOW_DAE_RESULT_CONSTANT

}  // namespace DAEResult

struct SResultCode {
  int32_t mCode;
  const char* mName;     // the constant's name without its "k"
  const char* mMeaning;  // when the code is raised
};

extern const SResultCode kResultCodes[];
extern const size_t kResultCodeCount;

// The row of a code, or null for 0 and codes that only pass through.
const SResultCode* FindResultCode(int32_t code);
