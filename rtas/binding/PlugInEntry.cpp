#include "rtas/binding/PlugInEntry.h"

#include <array>

#include "platform/carboncore/MacTypes.h"
#include "rtas/binding/GroupFunctors.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/CProcessGroup.h"
#include "rtas/library/GlobalLockScope.h"
#include "rtas/library/ResultCodes.h"
#include "rtas/library/SlotMacros.h"

// The host's selector table: each row names the selector (three digits),
// when the entry takes the group's global lock, the group-interface
// operation and its arguments. Selectors whose entries pack arguments into
// a specifier record, keep an out-value of their own, or answer without the
// group are written out below the table.
//
// Lock rules: VERSION_SET whenever the host-interface version is not 0;
// ABOVE_98 and ABOVE_99 only above those versions.
#define BRIMLOW_HOST_ENTRIES(X) \
  X(000, ABOVE_98, ForwardRectToView,         3, (uint32_t, int32_t, Rect*)) \
  X(001, VERSION_SET, ForwardEventToView,        3, (uint32_t, int32_t, EventRecord*)) \
  X(002, VERSION_SET, QueryControlFlag,          4, (uint32_t, int32_t, EventRecord*, uint8_t*)) \
  X(003, VERSION_SET, Idle,                      3, (uint32_t, int32_t, EventRecord*)) \
  X(004, VERSION_SET, GetViewRect,               3, (uint32_t, int32_t, Rect*)) \
  X(005, VERSION_SET, GetProcessTypeName,        3, (uint32_t, int32_t, char*)) \
  X(006, VERSION_SET, GetTypeIDs,                4, (int32_t, uint32_t*, uint32_t*, uint32_t*)) \
  X(007, VERSION_SET, SetGroupSampleRate,        1, (int32_t)) \
  X(008, VERSION_SET, HostCall008,               2, (uint32_t, int32_t)) \
  X(009, VERSION_SET, HostCall009,               2, (uint32_t, int32_t)) \
  X(010, VERSION_SET, GetTypeInputCount,         3, (uint32_t, int32_t, int16_t*)) \
  X(012, VERSION_SET, GetManufacturerName,       2, (int32_t, char*)) \
  X(015, VERSION_SET, AcceptControlKey,          3, (uint32_t, int32_t, EventRecord*)) \
  X(016, VERSION_SET, HostCall016,               0, ()) \
  X(017, VERSION_SET, GetTypeOutputCount,        3, (uint32_t, int32_t, int16_t*)) \
  X(018, VERSION_SET, HostCall018,               0, ()) \
  X(019, VERSION_SET, NewInstance,               2, (uint32_t, int32_t*)) \
  X(020, VERSION_SET, RemoveInstance,            2, (uint32_t, int32_t)) \
  X(022, VERSION_SET, CountProcessTypes,         1, (int16_t*)) \
  X(023, VERSION_SET, SetInputCount,             3, (uint32_t, int32_t, int16_t)) \
  X(024, VERSION_SET, SetOutputCount,            3, (uint32_t, int32_t, int16_t)) \
  X(025, VERSION_SET, HostCall025,               2, (uint32_t, int32_t*)) \
  X(027, VERSION_SET, IsInputPortConnected,      4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X(028, VERSION_SET, IsOutputPortFree,          4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X(029, VERSION_SET, IsOutputPortConnected,     4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X(030, VERSION_SET, ConnectInputPortSlot,      4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(031, VERSION_SET, ConnectOutputPortSlot,     4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(032, VERSION_SET, DisconnectInputPortSlot,   3, (uint32_t, int32_t, int32_t)) \
  X(033, VERSION_SET, DisconnectOutputPortSlot,  3, (uint32_t, int32_t, int32_t)) \
  X(035, VERSION_SET, HostCall035,               2, (int32_t*, char**)) \
  X(036, VERSION_SET, GetProcessObjects,         5, (HostWord*, HostWord*, uint32_t, int32_t, int32_t)) \
  X(037, VERSION_SET, GetProcessObjects2,        5, (HostWord*, HostWord*, uint32_t, int32_t, int32_t)) \
  X(038, VERSION_SET, SetHostContext,            1, (void*)) \
  X(039, VERSION_SET, SetBypass,                 4, (uint32_t, int32_t, int32_t, uint8_t)) \
  X(040, VERSION_SET, GetControlCount,           3, (uint32_t, int32_t, int16_t*)) \
  X(041, VERSION_SET, GetControlAutomatable,     4, (uint32_t, int32_t, int32_t, int16_t*)) \
  X(042, VERSION_SET, GetControlNumSteps,        4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(044, VERSION_SET, GetControlName,            4, (uint32_t, int32_t, int32_t, char*)) \
  X(045, VERSION_SET, GetControlValue,           4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(046, VERSION_SET, SetControlValue,           4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(047, VERSION_SET, SetViewPort,               3, (uint32_t, int32_t, OpaqueGrafPtr*)) \
  X(048, VERSION_SET, SetViewPosition,           3, (uint32_t, int32_t, const Point&)) \
  X(049, VERSION_SET, HostCall049,               4, (uint32_t, int32_t, int32_t, SFicAutoTimeRampData*)) \
  X(050, VERSION_SET, HostCall050,               4, (uint32_t, int32_t, int32_t, uint8_t)) \
  X(051, VERSION_SET, IsBypassed,                4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X(052, VERSION_SET, HostCall052,               4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X(053, VERSION_SET, GetProcessMeterCount,      3, (uint32_t, int32_t, int32_t*)) \
  X(054, VERSION_SET, GetMeterValues,            4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(055, VERSION_SET, HostCall055,               4, (uint32_t, int32_t, int32_t, char*)) \
  X(059, VERSION_SET, HostCall059,               5, (uint32_t, int32_t, int32_t, int32_t, int16_t*)) \
  X(062, VERSION_SET, CountChunks,               3, (uint32_t, int32_t, int32_t*)) \
  X(063, VERSION_SET, GetChunkIdAt,              4, (uint32_t, int32_t, int32_t, uint32_t*)) \
  X(064, VERSION_SET, GetChunkName,              4, (uint32_t, int32_t, uint32_t, uint8_t*)) \
  X(065, VERSION_SET, GetChunkSize,              4, (uint32_t, int32_t, uint32_t, int32_t*)) \
  X(066, VERSION_SET, GetProcessChunk,           4, (uint32_t, int32_t, uint32_t, SFicPlugInChunk*)) \
  X(067, VERSION_SET, SetProcessChunk,           4, (uint32_t, int32_t, uint32_t, SFicPlugInChunk*)) \
  X(068, VERSION_SET, MatchPlugInSpec,           3, (SFicPlugInSpec*, int32_t, int32_t)) \
  X(069, VERSION_SET, HostCall069,               1, (uint8_t)) \
  X(070, VERSION_SET, HostCall070,               1, (uint8_t)) \
  X(071, VERSION_SET, HostCall071,               4, (uint32_t, int32_t, int32_t, uint8_t)) \
  X(072, VERSION_SET, HostCall072,               1, (uint8_t)) \
  X(075, ABOVE_99, GetGroupVersion,           0, ()) \
  X(079, VERSION_SET, HostCall079,               2, (uint32_t, int16_t*)) \
  X(080, VERSION_SET, GetLatency16,              3, (uint32_t, int32_t, int16_t*)) \
  X(081, VERSION_SET, AddToControlValue,         4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(082, VERSION_SET, GetControlAttribute1,      4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(085, VERSION_SET, HostCall085,               3, (uint32_t, int32_t, void**)) \
  X(086, VERSION_SET, HostCall086,               4, (uint32_t, int32_t, int32_t, void**)) \
  X(087, VERSION_SET, GetFocusedControl,         4, (uint32_t, int32_t, const Point&, int32_t*)) \
  X(088, VERSION_SET, IsControlContinuous,       4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(089, VERSION_SET, GetControlAttribute2,      4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(091, VERSION_SET, EnableProcessTypes,        1, (int32_t)) \
  X(092, VERSION_SET, GetTypeKindCode,           2, (uint32_t, int32_t*)) \
  X(093, VERSION_SET, GetFeatureSupport,         3, (uint32_t, int32_t, int32_t*)) \
  X(094, VERSION_SET, HostCall094,               5, (uint32_t, int32_t, int16_t, int16_t, char*)) \
  X(095, VERSION_SET, HostCall095,               5, (uint32_t, int32_t, int16_t, int16_t, char*)) \
  X(099, VERSION_SET, UpdateControlValue,        4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(100, VERSION_SET, AddToUpdatedControlValue,  4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(101, VERSION_SET, HostCall101,               2, (uint32_t, int32_t)) \
  X(102, VERSION_SET, HostCall102,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(103, VERSION_SET, HostCall103,               5, (uint32_t, int32_t, int16_t, int32_t, int32_t*)) \
  X(104, VERSION_SET, HostCall104,               3, (uint32_t, int32_t, int32_t*)) \
  X(105, ABOVE_99, HostCall105,               3, (uint32_t, int32_t, int32_t*)) \
  X(108, VERSION_SET, GetStemFormatName,         4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X(109, VERSION_SET, GetControlDefaultValue,    4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(110, VERSION_SET, GetChangeCount,            3, (uint32_t, int32_t, int32_t*)) \
  X(111, VERSION_SET, SetGroupTimeCodeInfo,      1, (SFicTimeCodeInfo*)) \
  X(120, VERSION_SET, HostCall120,               4, (uint32_t, int32_t, uint32_t, int16_t)) \
  X(122, VERSION_SET, SetSharedPair,             2, (int32_t, int32_t)) \
  X(123, VERSION_SET, HostCall123,               4, (uint32_t, int32_t, int32_t, SASPRegion*)) \
  X(124, VERSION_SET, HostCall124,               4, (uint32_t, int32_t, int32_t, SASPRegion*)) \
  X(125, VERSION_SET, SetGroupSharedValue,       1, (int32_t)) \
  X(126, VERSION_SET, GetControlHighlight,       5, (uint32_t, int32_t, int32_t, int16_t*, int16_t*)) \
  X(127, VERSION_SET, SetControlHighlight,       5, (uint32_t, int32_t, int32_t, int16_t, int16_t)) \
  X(128, VERSION_SET, CompareProcessChunk,       4, (uint32_t, int32_t, SFicPlugInChunk*, uint8_t*)) \
  X(129, VERSION_SET, HostCall129,               4, (uint32_t, int32_t, uint32_t, int16_t)) \
  X(130, VERSION_SET, HostCall130,               3, (uint32_t, int32_t, int32_t)) \
  X(132, VERSION_SET, GetMasterBypassControl,    3, (uint32_t, int32_t, int32_t*)) \
  X(133, VERSION_SET, HostCall133,               5, (uint32_t, int32_t, uint32_t, uint32_t, int32_t*)) \
  X(134, VERSION_SET, HostCall134,               3, (uint32_t, int32_t, uint32_t*)) \
  X(135, VERSION_SET, HostCall135,               4, (uint32_t, int32_t, uint32_t, uint32_t*)) \
  X(136, VERSION_SET, GetGroupAttribute,         4, (int16_t, int32_t*, int32_t, uint32_t*)) \
  X(137, VERSION_SET, GetStemFormats,            3, (uint32_t, int32_t, SFicPlugInStemFormats*)) \
  X(139, VERSION_SET, HostCall139,               3, (uint32_t, int32_t, void*)) \
  X(140, VERSION_SET, HostCall140,               3, (uint32_t, int32_t, void*)) \
  X(141, VERSION_SET, HostCall141,               5, (uint32_t, int32_t, SFicPlugInSpec*, int32_t, int32_t*)) \
  X(142, VERSION_SET, HostCall142,               5, (uint32_t, int32_t, SFicPlugInSpec*, int32_t, int32_t*)) \
  X(143, VERSION_SET, HostCall143,               4, (uint32_t, int32_t, int32_t, uint8_t)) \
  X(144, ABOVE_99, CloseInstance,             2, (uint32_t, int32_t)) \
  X(145, VERSION_SET, GetPlugLatency,            3, (uint32_t, int32_t, int32_t*)) \
  X(146, VERSION_SET, GetMeterEntryFlag,         4, (uint32_t, int32_t, int32_t, char*)) \
  X(147, VERSION_SET, GetMeterCountOfKind,       4, (uint32_t, int32_t, char, int32_t*)) \
  X(148, VERSION_SET, GetNthMeterOfKind,         5, (uint32_t, int32_t, char, int32_t, int32_t*)) \
  X(149, VERSION_SET, IsClipped,                 3, (uint32_t, int32_t, uint8_t*)) \
  X(150, VERSION_SET, ClearClipIndicators,       2, (uint32_t, int32_t)) \
  X(151, VERSION_SET, HostCall151,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(152, VERSION_SET, HostCall152,               4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(153, VERSION_SET, HostCall153,               3, (uint32_t, int32_t, int32_t*)) \
  X(154, VERSION_SET, HostCall154,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(155, VERSION_SET, HostCall155,               4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(156, VERSION_SET, HostCall156,               6, (uint32_t, int32_t, int32_t, int32_t, int32_t, int32_t*)) \
  X(157, VERSION_SET, HostCall157,               4, (uint32_t, int32_t, int32_t, uint8_t)) \
  X(158, VERSION_SET, CountChunkDescriptors,     3, (uint32_t, int32_t, int32_t*)) \
  X(159, VERSION_SET, GetChunkDescriptor,        4, (uint32_t, int32_t, int32_t, SFicPlugInStemInfo*)) \
  X(160, VERSION_SET, HostCall160,               5, (uint32_t, int32_t, int32_t, int32_t, uint8_t)) \
  X(161, VERSION_SET, HostCall161,               3, (uint32_t, int32_t, uint8_t*)) \
  X(162, VERSION_SET, HostCall162,               5, (uint32_t, int32_t, int32_t, void*, uint8_t*)) \
  X(163, VERSION_SET, HostCall163,               2, (uint32_t, int32_t)) \
  X(164, VERSION_SET, HostCall164,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(165, VERSION_SET, HostCall165,               3, (uint32_t, int32_t, char*)) \
  X(166, VERSION_SET, HostCall166,               4, (uint32_t, int32_t, char*, int32_t*)) \
  X(167, VERSION_SET, HostCall167,               3, (uint32_t, int32_t, int32_t*)) \
  X(168, VERSION_SET, HostCall168,               3, (uint32_t, int32_t, void*)) \
  X(169, VERSION_SET, HostCall169,               4, (uint32_t, int32_t, SFileList*, SFileList*)) \
  X(170, VERSION_SET, HostCall170,               5, (uint32_t, int32_t, SFileList*, SFileList*, uint8_t)) \
  X(171, VERSION_SET, HostCall171,               3, (uint32_t, int32_t, void*)) \
  X(172, VERSION_SET, HostCall172,               3, (uint32_t, int32_t, IACFUnknown**)) \
  X(173, VERSION_SET, HostCall173,               2, (uint32_t, int32_t))

namespace {

using Group = CProcessGroupInterface;

bool gGroupUsable = false;

enum class LockRule { VERSION_SET, ABOVE_98, ABOVE_99 };

int32_t RunEntry(SGenFuncRetLong& functor, LockRule rule) {
  if (!HasUsableGroup()) return DAEResult::kNoGroup;
  if (rule == LockRule::VERSION_SET) return CallGroupFunction(functor, true);
  const int32_t version = Group::GetHostInterfaceVersion();
  return RunGroupFunction(functor, rule == LockRule::ABOVE_98 ? version > 98 : version > 99);
}

#define BRIMLOW_HOST_PARAMS_0()
#define BRIMLOW_HOST_PARAMS_1(T1) GroupFuncArg<T1> a1
#define BRIMLOW_HOST_PARAMS_2(T1, T2) GroupFuncArg<T1> a1, GroupFuncArg<T2> a2
#define BRIMLOW_HOST_PARAMS_3(T1, T2, T3) GroupFuncArg<T1> a1, GroupFuncArg<T2> a2, GroupFuncArg<T3> a3
#define BRIMLOW_HOST_PARAMS_4(T1, T2, T3, T4) \
  GroupFuncArg<T1> a1, GroupFuncArg<T2> a2, GroupFuncArg<T3> a3, GroupFuncArg<T4> a4
#define BRIMLOW_HOST_PARAMS_5(T1, T2, T3, T4, T5) \
  GroupFuncArg<T1> a1, GroupFuncArg<T2> a2, GroupFuncArg<T3> a3, GroupFuncArg<T4> a4, GroupFuncArg<T5> a5
#define BRIMLOW_HOST_PARAMS_6(T1, T2, T3, T4, T5, T6)                                                         \
  GroupFuncArg<T1> a1, GroupFuncArg<T2> a2, GroupFuncArg<T3> a3, GroupFuncArg<T4> a4, GroupFuncArg<T5> a5, \
      GroupFuncArg<T6> a6
#define BRIMLOW_HOST_PARAMS(n, types) BRIMLOW_CAT(BRIMLOW_HOST_PARAMS_, n) types

#define BRIMLOW_FUNCTOR_0() S0ArgGroupFunc
#define BRIMLOW_FUNCTOR_1(T1) S1ArgGroupFunc<T1>
#define BRIMLOW_FUNCTOR_2(T1, T2) S2ArgGroupFunc<T1, T2>
#define BRIMLOW_FUNCTOR_3(T1, T2, T3) S3ArgGroupFunc<T1, T2, T3>
#define BRIMLOW_FUNCTOR_4(T1, T2, T3, T4) S4ArgGroupFunc<T1, T2, T3, T4>
#define BRIMLOW_FUNCTOR_5(T1, T2, T3, T4, T5) S5ArgGroupFunc<T1, T2, T3, T4, T5>
#define BRIMLOW_FUNCTOR_6(T1, T2, T3, T4, T5, T6) S6ArgGroupFunc<T1, T2, T3, T4, T5, T6>
#define BRIMLOW_FUNCTOR(n, types) BRIMLOW_CAT(BRIMLOW_FUNCTOR_, n) types

#define BRIMLOW_DEFINE_ENTRY(digits, lock, Name, n, types)                                     \
  int32_t HostEntry##digits(BRIMLOW_HOST_PARAMS(n, types)) {                                   \
    BRIMLOW_FUNCTOR(n, types) functor(&Group::Name BRIMLOW_COMMA_ARGS(n));                      \
    return RunEntry(functor, LockRule::lock);                                                  \
  }
BRIMLOW_HOST_ENTRIES(BRIMLOW_DEFINE_ENTRY)
#undef BRIMLOW_DEFINE_ENTRY

int32_t HostEntry014(HostCallbackProc procedure) {
  S1ArgGroupFunc<HostCallbackProc> functor(&Group::SetHostCallback, procedure);
  return RunEntry(functor, LockRule::VERSION_SET);
}

int32_t HostEntry073(uint32_t typeID, int32_t instance, int32_t a3) {
  SFicTDMAutoElem** dropped = nullptr;
  S4ArgGroupFunc<uint32_t, int32_t, int32_t, SFicTDMAutoElem***> functor(&Group::StoreTDMAutoElemResult, typeID,
                                                                         instance, a3, &dropped);
  return RunEntry(functor, LockRule::VERSION_SET);
}

int32_t HostEntry074(uint32_t typeID, int32_t instance, int32_t a3) {
  void* dropped = nullptr;
  S4ArgGroupFunc<uint32_t, int32_t, int32_t, void**> functor(&Group::StorePointerResult, typeID, instance, a3,
                                                             &dropped);
  return RunEntry(functor, LockRule::VERSION_SET);
}

int32_t HostEntry090(uint32_t typeID, int32_t instance, int32_t control, int32_t value, char* text,
                     int32_t length) {
  const Group::SControlSpecifier specifier{typeID, instance, control};
  S4ArgGroupFunc<const Group::SControlSpecifier*, int32_t, char*, int32_t> functor(
      &Group::UnpackControlSpecifierLongText, &specifier, value, text, length);
  return RunEntry(functor, LockRule::VERSION_SET);
}

int32_t HostEntry096(uint32_t typeID, int32_t instance, int16_t v1, int16_t v2, int16_t v3, int16_t* out) {
  const Group::SParamSpecifier specifier{typeID, instance, v1, v2, v3};
  S2ArgGroupFunc<const Group::SParamSpecifier*, int16_t*> functor(&Group::UnpackParamSpecifier, &specifier, out);
  return RunEntry(functor, LockRule::VERSION_SET);
}

int32_t HostEntry097(uint32_t typeID, int32_t instance, int16_t v1, int16_t v2, int16_t v3, int16_t value,
                     char* text) {
  const Group::SParamSpecifier specifier{typeID, instance, v1, v2, v3};
  S3ArgGroupFunc<const Group::SParamSpecifier*, int16_t, char*> functor(&Group::UnpackParamSpecifierWithText,
                                                                        &specifier, value, text);
  return RunEntry(functor, LockRule::VERSION_SET);
}

int32_t HostEntry121(uint32_t typeID, int32_t instance, uint32_t a3, int16_t a4, int16_t a5, int16_t a6) {
  const Group::SProcessSpecifier specifier{typeID, instance};
  S5ArgGroupFunc<const Group::SProcessSpecifier*, uint32_t, int16_t, int16_t, int16_t> functor(
      &Group::UnpackProcessSpecifier, &specifier, a3, a4, a5, a6);
  return RunEntry(functor, LockRule::VERSION_SET);
}

int32_t HostEntry131(uint32_t typeID, int32_t instance, int32_t control, char* text, int32_t length, uint32_t tag,
                     int16_t* out) {
  const Group::SControlSpecifier specifier{typeID, instance, control};
  S5ArgGroupFunc<const Group::SControlSpecifier*, char*, int32_t, uint32_t, int16_t*> functor(
      &Group::UnpackControlSpecifier, &specifier, text, length, tag, out);
  return RunEntry(functor, LockRule::VERSION_SET);
}

int32_t HostEntry138(SFicPlugInSpec* spec, int32_t a2, int32_t a, int32_t b, int32_t c, int32_t d) {
  const Group::SStemSpecifier first{c, a};
  const Group::SStemSpecifier second{d, b};
  S4ArgGroupFunc<SFicPlugInSpec*, int32_t, const Group::SStemSpecifier*, const Group::SStemSpecifier*> functor(
      &Group::UnpackStemSpecifiers, spec, a2, &first, &second);
  return RunEntry(functor, LockRule::VERSION_SET);
}

int32_t HostEntry175(uint32_t typeID, int32_t instance, int32_t control, char* text, int32_t* value) {
  const Group::SControlSpecifier specifier{typeID, instance, control};
  S3ArgGroupFunc<const Group::SControlSpecifier*, char*, int32_t*> functor(&Group::UnpackControlSpecifierText,
                                                                           &specifier, text, value);
  return RunEntry(functor, LockRule::VERSION_SET);
}

// Entries the host may call that answer 0 and touch nothing.
int32_t HostEntryStub() { return 0; }

int32_t HostEntry098(uint32_t, int32_t, int32_t, uint8_t* out) {
  if (out) *out = 0;
  return 0;
}

template <class Function>
void* RoutineAddress(Function function) {
  return reinterpret_cast<void*>(function);
}

using RoutineTable = std::array<void*, Group::kSelectorCount>;

RoutineTable MakeRoutineTable() {
  RoutineTable table{};
#define BRIMLOW_ROUTINE(digits, lock, Name, n, types) table[1##digits - 1000] = RoutineAddress(&HostEntry##digits);
  BRIMLOW_HOST_ENTRIES(BRIMLOW_ROUTINE)
#undef BRIMLOW_ROUTINE
  table[14] = RoutineAddress(&HostEntry014);
  table[73] = RoutineAddress(&HostEntry073);
  table[74] = RoutineAddress(&HostEntry074);
  table[90] = RoutineAddress(&HostEntry090);
  table[96] = RoutineAddress(&HostEntry096);
  table[97] = RoutineAddress(&HostEntry097);
  table[98] = RoutineAddress(&HostEntry098);
  table[121] = RoutineAddress(&HostEntry121);
  table[131] = RoutineAddress(&HostEntry131);
  table[138] = RoutineAddress(&HostEntry138);
  table[175] = RoutineAddress(&HostEntry175);
  for (int stub : {43, 56, 57, 58, 76, 77, 78, 83, 84, 112, 113, 114, 115, 116, 117, 118, 119}) {
    table[static_cast<size_t>(stub)] = RoutineAddress(&HostEntryStub);
  }
  return table;
}

}  // namespace

bool HasUsableGroup() { return gGroupUsable && Group::GetGroupReference() != nullptr; }

int32_t LookupEntryRoutine(uint32_t selector, void** routine) {
  static const RoutineTable kRoutines = MakeRoutineTable();
  if (routine) *routine = nullptr;
  if (selector >= kRoutines.size() || !kRoutines[selector]) return DAEResult::kNoEntry;
  if (routine) *routine = kRoutines[selector];
  return 0;
}

LookupEntryRoutineProc _PI_GetRoutineDescriptor = LookupEntryRoutine;

int16_t NewMachOPlugIn(CFBundleRef bundle) {
  gGroupUsable = false;
  if (bundle) CFRetain(bundle);
  CProcessGroup::SetBundleRef(bundle);
  try {
    CProcessGroupInterface* group = CreateGroup();
    // Kept even when its initialisation fails, so CloseMachOPlugIn can
    // delete it; the entries do not reach it unless it is usable.
    Group::SetGroupReference(group);
    if (!group) return static_cast<int16_t>(DAEResult::kNoGroup);
    group->InitProcessGroup();
    gGroupUsable = true;
    return 0;
  } catch (const CDAEError& error) {
    return static_cast<int16_t>(error.Code());
  } catch (...) {
    return static_cast<int16_t>(DAEResult::kUnexpected);
  }
}

void CloseMachOPlugIn(void) {
  // The host keeps its own reference while it unloads us, so the group
  // may still close the bundle's resource map below.
  CFBundleRef bundle = CProcessGroup::GetBundleRef();
  if (bundle) CFRelease(bundle);
  gGroupUsable = false;
  {
    CGlobalLockScope scope;
    try {
      if (Group* group = Group::GetGroupReference()) {
        delete group;
        Group::SetGroupReference(nullptr);
      }
    } catch (...) {
    }
  }
  CProcessGroup::SetBundleRef(nullptr);
}
