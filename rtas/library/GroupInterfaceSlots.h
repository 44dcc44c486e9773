#pragma once

// The group interface's operations, one row per slot in the host
// library's slot order: what the host may ask of the plug-in as a whole,
// of one process type or of one instance. Everything about an operation
// that is regular is data here; the classes expand the rows into their
// declarations and bodies, and the tests walk the rows against the host's
// tables.
//
// Columns:
//   slot      the operation's place in the table (the destructor follows
//             the last row, as slots 172 and 173)
//   selector  the host selector whose entry reaches it, -1 when none does
//   Ret, Name the result type and the operation
//   kind      ANSWER: the default writes and answers as the next columns
//             say; CUSTOM: the default has a body of its own; PURE: no
//             default
//   result    what the default answers
//   w1 v1 w2 v2
//             the default writes v1 through argument w1 and v2 through w2
//             (argument numbers from 1, 0 for none), each at the width of
//             the pointed-to type; a null pointer is left alone
//   group     what the process group makes of it: KEEP the default; OWN a
//             body of its own; FORWARD to the type slot of the next column
//             (the first argument is the type id, the others pass on);
//             DEFAULT_FORWARD the same after running the default;
//             BROADCAST to that type slot of every type, after the default
//             stored whatever the group keeps
//   typeSlot  the type slot forwarded or broadcast to, -1 when none
//   TypeName  the type's operation for a broadcast (forwarded operations
//             keep their name), _ otherwise
//   n, types  the number of arguments and their types
//
// Selectors 139 and 140 carry the 52-byte record a process stores and
// gives back (six doubles and a word); the host declares it under the
// name of the record naming a plug-in type, but the record is not one, so
// it passes as an untyped pointer.
//
// Selectors 95 and 127 have entries in the host's selector table whose
// operation this table does not name; slots 118 and 135, which no selector
// is listed for, take exactly their arguments.
#define BRIMLOW_GROUP_INTERFACE_SLOTS(X) \
  X(  0,  -1, int32_t,           InitProcessGroup,         ANSWER, 0,     0, 0, 0, 0, OWN,              -1, _,               0, ()) \
  X(  1,  -1, int32_t,           IsSelectorSupported,      CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               1, (uint16_t)) \
  X(  2,  -1, int32_t,           GetProductNumber,         ANSWER, 1,     0, 0, 0, 0, KEEP,             -1, _,               0, ()) \
  X(  3,  -1, int32_t,           GroupSlot003,             ANSWER, 0,     0, 0, 0, 0, KEEP,             -1, _,               0, ()) \
  X(  4,   0, int32_t,           ForwardRectToView,        ANSWER, 0,     0, 0, 0, 0, FORWARD,           5, _,               3, (uint32_t, int32_t, Rect*)) \
  X(  5,   1, int32_t,           ForwardEventToView,       ANSWER, 0,     0, 0, 0, 0, FORWARD,           6, _,               3, (uint32_t, int32_t, EventRecord*)) \
  X(  6,   2, int32_t,           QueryControlFlag,         ANSWER, 0,     0, 0, 0, 0, FORWARD,           7, _,               4, (uint32_t, int32_t, EventRecord*, uint8_t*)) \
  X(  7,   3, int32_t,           Idle,                     ANSWER, 0,     0, 0, 0, 0, FORWARD,           9, _,               3, (uint32_t, int32_t, EventRecord*)) \
  X(  8,   4, int32_t,           GetViewRect,              ANSWER, 0,     0, 0, 0, 0, DEFAULT_FORWARD,  10, _,               3, (uint32_t, int32_t, Rect*)) \
  X(  9,  47, int32_t,           SetViewPort,              ANSWER, 0,     0, 0, 0, 0, DEFAULT_FORWARD,  11, _,               3, (uint32_t, int32_t, OpaqueGrafPtr*)) \
  X( 10,  48, int32_t,           SetViewPosition,          ANSWER, 0,     0, 0, 0, 0, DEFAULT_FORWARD,  12, _,               3, (uint32_t, int32_t, const Point&)) \
  X( 11,  12, int32_t,           GetManufacturerName,      CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               2, (int32_t, char*)) \
  X( 12,  25, int32_t,           HostCall025,              ANSWER, 0,     2, 0, 0, 0, FORWARD,          13, _,               2, (uint32_t, int32_t*)) \
  X( 13,   5, int32_t,           GetProcessTypeName,       ANSWER, 0,     3, 0, 0, 0, OWN,              -1, _,               3, (uint32_t, int32_t, char*)) \
  X( 14,   6, int32_t,           GetTypeIDs,               PURE,   0,     0, 0, 0, 0, KEEP,             -1, _,               4, (int32_t, uint32_t*, uint32_t*, uint32_t*)) \
  X( 15,   7, int32_t,           SetGroupSampleRate,       CUSTOM, 0,     0, 0, 0, 0, BROADCAST,        15, SetSampleRate,   1, (int32_t)) \
  X( 16, 125, int32_t,           SetGroupSharedValue,      ANSWER, 0,     0, 0, 0, 0, BROADCAST,        16, SetSharedValue,  1, (int32_t)) \
  X( 17, 111, int32_t,           SetGroupTimeCodeInfo,     CUSTOM, 0,     0, 0, 0, 0, BROADCAST,        17, SetTimeCodeInfo, 1, (SFicTimeCodeInfo*)) \
  X( 18,  -1, int32_t,           GroupSlot018,             ANSWER, 0,     0, 0, 0, 0, KEEP,             -1, _,               0, ()) \
  X( 19,   8, int32_t,           HostCall008,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          19, _,               2, (uint32_t, int32_t)) \
  X( 20,   9, int32_t,           HostCall009,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          20, _,               2, (uint32_t, int32_t)) \
  X( 21,  10, int32_t,           GetTypeInputCount,        ANSWER, 0,     3, 0, 0, 0, FORWARD,          22, _,               3, (uint32_t, int32_t, int16_t*)) \
  X( 22, 137, int32_t,           GetStemFormats,           CUSTOM, 0,     0, 0, 0, 0, FORWARD,          21, _,               3, (uint32_t, int32_t, SFicPlugInStemFormats*)) \
  X( 23,  14, int32_t,           StoreHostCallback,        CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               1, (HostCallbackProc)) \
  X( 24,  15, int32_t,           AcceptControlKey,         ANSWER, 0,     0, 0, 0, 0, FORWARD,           8, _,               3, (uint32_t, int32_t, EventRecord*)) \
  X( 25,  16, int32_t,           HostCall016,              ANSWER, 0,     0, 0, 0, 0, BROADCAST,        25, HostCall016,     0, ()) \
  X( 26,  17, int32_t,           GetTypeOutputCount,       ANSWER, 0,     3, 0, 0, 0, FORWARD,          23, _,               3, (uint32_t, int32_t, int16_t*)) \
  X( 27,  18, int32_t,           HostCall018,              ANSWER, 0,     0, 0, 0, 0, BROADCAST,        26, HostCall018,     0, ()) \
  X( 28,  19, int32_t,           NewInstance,              ANSWER, 0,     0, 0, 0, 0, OWN,              -1, _,               2, (uint32_t, int32_t*)) \
  X( 29,  20, int32_t,           RemoveInstance,           ANSWER, 0,     0, 0, 0, 0, OWN,              -1, _,               2, (uint32_t, int32_t)) \
  X( 30, 144, int32_t,           CloseInstance,            ANSWER, 0,     0, 0, 0, 0, FORWARD,          28, _,               2, (uint32_t, int32_t)) \
  X( 31,  -1, int32_t,           GroupSlot031,             ANSWER, 0,     0, 0, 0, 0, KEEP,             -1, _,               0, ()) \
  X( 32,  22, int32_t,           CountProcessTypes,        ANSWER, 0,     1, 0, 0, 0, OWN,              -1, _,               1, (int16_t*)) \
  X( 33,  23, int32_t,           SetInputCount,            ANSWER, 0,     0, 0, 0, 0, FORWARD,          30, _,               3, (uint32_t, int32_t, int16_t)) \
  X( 34,  24, int32_t,           SetOutputCount,           ANSWER, 0,     0, 0, 0, 0, FORWARD,          31, _,               3, (uint32_t, int32_t, int16_t)) \
  X( 35,  79, int32_t,           HostCall079,              ANSWER, 0,     2, 0, 0, 0, FORWARD,          32, _,               2, (uint32_t, int16_t*)) \
  X( 36,  -1, int32_t,           GroupSlot036,             ANSWER, 0,     7, 0, 0, 0, KEEP,             -1, _,               7, (HostWord, HostWord, HostWord, HostWord, HostWord, HostWord, uint8_t*)) \
  X( 37,  -1, int32_t,           GroupSlot037,             ANSWER, -7102, 0, 0, 0, 0, KEEP,             -1, _,               0, ()) \
  X( 38,  27, int32_t,           IsInputPortConnected,     ANSWER, 0,     4, 0, 0, 0, FORWARD,          33, _,               4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X( 39,  28, int32_t,           IsOutputPortFree,         ANSWER, 0,     4, 1, 0, 0, FORWARD,          34, _,               4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X( 40,  29, int32_t,           IsOutputPortConnected,    ANSWER, 0,     4, 0, 0, 0, FORWARD,          35, _,               4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X( 41,  30, int32_t,           ConnectInputPortSlot,     ANSWER, 0,     0, 0, 0, 0, FORWARD,          36, _,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X( 42,  31, int32_t,           ConnectOutputPortSlot,    ANSWER, 0,     0, 0, 0, 0, FORWARD,          37, _,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X( 43,  32, int32_t,           DisconnectInputPortSlot,  ANSWER, 0,     0, 0, 0, 0, FORWARD,          38, _,               3, (uint32_t, int32_t, int32_t)) \
  X( 44,  33, int32_t,           DisconnectOutputPortSlot, ANSWER, 0,     0, 0, 0, 0, FORWARD,          39, _,               3, (uint32_t, int32_t, int32_t)) \
  X( 45,  -1, int32_t,           GroupSlot045,             ANSWER, 0,     0, 0, 0, 0, KEEP,             -1, _,               0, ()) \
  X( 46,  35, int32_t,           HostCall035,              ANSWER, 0,     1, 0, 0, 0, KEEP,             -1, _,               2, (int32_t*, char**)) \
  X( 47, 136, int32_t,           GetGroupAttribute,        CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               4, (int16_t, int32_t*, int32_t, uint32_t*)) \
  X( 48,  36, int32_t,           GetProcessObjects,        ANSWER, 0,     1, 0, 2, 0, OWN,              -1, _,               5, (HostWord*, HostWord*, uint32_t, int32_t, int32_t)) \
  X( 49,  37, int32_t,           GetProcessObjects2,       ANSWER, 0,     1, 0, 2, 0, OWN,              -1, _,               5, (HostWord*, HostWord*, uint32_t, int32_t, int32_t)) \
  X( 50,  -1, int32_t,           HostCallback10or17,       CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               6, (HostWord*, HostWord*, int16_t, int16_t, int16_t, int16_t)) \
  X( 51,  -1, int32_t,           HostCallback11,           CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               2, (HostWord, HostWord)) \
  X( 52,  -1, int32_t,           HostCallback12,           CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               4, (HostWord, HostWord, HostWord, HostWord)) \
  X( 53,  -1, int32_t,           HostCallback14,           CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               2, (HostWord, HostWord)) \
  X( 54,  -1, int32_t,           HostCallback19,           CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               3, (HostWord, HostWord, HostWord)) \
  X( 55,  -1, int32_t,           HostCallback20,           CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               2, (HostWord, HostWord)) \
  X( 56,  40, int32_t,           GetControlCount,          ANSWER, 0,     3, 0, 0, 0, FORWARD,          42, _,               3, (uint32_t, int32_t, int16_t*)) \
  X( 57, 132, int32_t,           GetMasterBypassControl,   ANSWER, 0,     3, 0, 0, 0, FORWARD,          43, _,               3, (uint32_t, int32_t, int32_t*)) \
  X( 58,  41, int32_t,           GetControlAutomatable,    ANSWER, 0,     4, 0, 0, 0, FORWARD,          44, _,               4, (uint32_t, int32_t, int32_t, int16_t*)) \
  X( 59,  42, int32_t,           GetControlNumSteps,       ANSWER, 0,     4, 0, 0, 0, FORWARD,          45, _,               4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X( 60,  44, int32_t,           GetControlName,           ANSWER, 0,     4, 0, 0, 0, FORWARD,          46, _,               4, (uint32_t, int32_t, int32_t, char*)) \
  X( 61, 131, int32_t,           GetControlNameOfLength,   ANSWER, 0,     4, 0, 0, 0, FORWARD,          47, _,               7, (uint32_t, int32_t, int32_t, char*, int32_t, uint32_t, int16_t*)) \
  X( 62,  45, int32_t,           GetControlValue,          ANSWER, 0,     4, 0, 0, 0, FORWARD,          48, _,               4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X( 63,  46, int32_t,           SetControlValue,          ANSWER, 0,     0, 0, 0, 0, FORWARD,          49, _,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X( 64,  49, int32_t,           HostCall049,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          50, _,               4, (uint32_t, int32_t, int32_t, SFicAutoTimeRampData*)) \
  X( 65,  73, SFicTDMAutoElem**, HostCall073,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          51, _,               3, (uint32_t, int32_t, int32_t)) \
  X( 66,  74, void*,             HostCall074,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          52, _,               3, (uint32_t, int32_t, int32_t)) \
  X( 67, 120, int32_t,           HostCall120,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          53, _,               4, (uint32_t, int32_t, uint32_t, int16_t)) \
  X( 68, 121, int32_t,           HostCall121,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          54, _,               6, (uint32_t, int32_t, uint32_t, int16_t, int16_t, int16_t)) \
  X( 69, 129, int32_t,           HostCall129,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          55, _,               4, (uint32_t, int32_t, uint32_t, int16_t)) \
  X( 70, 166, int32_t,           HostCall166,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,          56, _,               4, (uint32_t, int32_t, char*, int32_t*)) \
  X( 71, 167, int32_t,           HostCall167,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,          57, _,               3, (uint32_t, int32_t, int32_t*)) \
  X( 72,  75, int32_t,           GetGroupVersion,          ANSWER, 0,     0, 0, 0, 0, KEEP,             -1, _,               0, ()) \
  X( 73,  39, int32_t,           SetBypass,                ANSWER, 0,     0, 0, 0, 0, FORWARD,          24, _,               4, (uint32_t, int32_t, int32_t, uint8_t)) \
  X( 74,  51, int32_t,           IsBypassed,               ANSWER, 0,     4, 0, 0, 0, FORWARD,          58, _,               4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X( 75,  50, int32_t,           HostCall050,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          59, _,               4, (uint32_t, int32_t, int32_t, uint8_t)) \
  X( 76,  52, int32_t,           HostCall052,              ANSWER, 0,     4, 0, 0, 0, FORWARD,          60, _,               4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X( 77, 133, int32_t,           HostCall133,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          63, _,               5, (uint32_t, int32_t, uint32_t, uint32_t, int32_t*)) \
  X( 78, 134, int32_t,           HostCall134,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          61, _,               3, (uint32_t, int32_t, uint32_t*)) \
  X( 79, 135, int32_t,           HostCall135,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          62, _,               4, (uint32_t, int32_t, uint32_t, uint32_t*)) \
  X( 80,  53, int32_t,           GetProcessMeterCount,     ANSWER, 0,     3, 0, 0, 0, FORWARD,          64, _,               3, (uint32_t, int32_t, int32_t*)) \
  X( 81,  54, int32_t,           GetMeterValues,           ANSWER, 0,     4, 0, 0, 0, FORWARD,          65, _,               4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X( 82,  55, int32_t,           HostCall055,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          66, _,               4, (uint32_t, int32_t, int32_t, char*)) \
  X( 83, 146, int32_t,           GetMeterEntryFlag,        ANSWER, 0,     4, 0, 0, 0, FORWARD,          67, _,               4, (uint32_t, int32_t, int32_t, char*)) \
  X( 84, 147, int32_t,           GetMeterCountOfKind,      ANSWER, 0,     4, 0, 0, 0, FORWARD,          68, _,               4, (uint32_t, int32_t, char, int32_t*)) \
  X( 85, 148, int32_t,           GetNthMeterOfKind,        ANSWER, 0,     5, 0, 0, 0, FORWARD,          69, _,               5, (uint32_t, int32_t, char, int32_t, int32_t*)) \
  X( 86, 149, int32_t,           IsClipped,                ANSWER, 0,     3, 0, 0, 0, FORWARD,          70, _,               3, (uint32_t, int32_t, uint8_t*)) \
  X( 87, 150, int32_t,           ClearClipIndicators,      ANSWER, 0,     0, 0, 0, 0, FORWARD,          71, _,               2, (uint32_t, int32_t)) \
  X( 88, 160, int32_t,           HostCall160,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          72, _,               5, (uint32_t, int32_t, int32_t, int32_t, uint8_t)) \
  X( 89, 161, int32_t,           HostCall161,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          73, _,               3, (uint32_t, int32_t, uint8_t*)) \
  X( 90, 162, int32_t,           HostCall162,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          74, _,               5, (uint32_t, int32_t, int32_t, void*, uint8_t*)) \
  X( 91, 163, int32_t,           HostCall163,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          75, _,               2, (uint32_t, int32_t)) \
  X( 92, 164, int32_t,           HostCall164,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          76, _,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X( 93,  62, int32_t,           CountChunks,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          77, _,               3, (uint32_t, int32_t, int32_t*)) \
  X( 94,  63, int32_t,           GetChunkIdAt,             ANSWER, 0,     0, 0, 0, 0, FORWARD,          78, _,               4, (uint32_t, int32_t, int32_t, uint32_t*)) \
  X( 95,  64, int32_t,           GetChunkName,             ANSWER, 0,     0, 0, 0, 0, FORWARD,          79, _,               4, (uint32_t, int32_t, uint32_t, uint8_t*)) \
  X( 96,  65, int32_t,           GetChunkSize,             ANSWER, 0,     0, 0, 0, 0, FORWARD,          80, _,               4, (uint32_t, int32_t, uint32_t, int32_t*)) \
  X( 97,  66, int32_t,           GetProcessChunk,          ANSWER, 0,     0, 0, 0, 0, FORWARD,          81, _,               4, (uint32_t, int32_t, uint32_t, SFicPlugInChunk*)) \
  X( 98,  67, int32_t,           SetProcessChunk,          ANSWER, 0,     0, 0, 0, 0, FORWARD,          82, _,               4, (uint32_t, int32_t, uint32_t, SFicPlugInChunk*)) \
  X( 99, 128, int32_t,           CompareProcessChunk,      ANSWER, -9007, 4, 0, 0, 0, FORWARD,          83, _,               4, (uint32_t, int32_t, SFicPlugInChunk*, uint8_t*)) \
  X(100, 165, int32_t,           HostCall165,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          84, _,               3, (uint32_t, int32_t, char*)) \
  X(101, 171, int32_t,           HostCall171,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          85, _,               3, (uint32_t, int32_t, void*)) \
  X(102, 110, int32_t,           GetChangeCount,           ANSWER, 0,     0, 0, 0, 0, FORWARD,          86, _,               3, (uint32_t, int32_t, int32_t*)) \
  X(103,  68, int32_t,           MatchPlugInSpec,          ANSWER, -7055, 0, 0, 0, 0, KEEP,             -1, _,               3, (SFicPlugInSpec*, int32_t, int32_t)) \
  X(104, 138, int32_t,           MatchPlugInSpecFull,      ANSWER, -7055, 0, 0, 0, 0, KEEP,             -1, _,               6, (SFicPlugInSpec*, int32_t, int32_t, int32_t, int32_t, int32_t)) \
  X(105,  69, int32_t,           HostCall069,              ANSWER, 0,     0, 0, 0, 0, BROADCAST,        87, HostCall069,     1, (uint8_t)) \
  X(106,  71, int32_t,           HostCall071,              ANSWER, 0,     0, 0, 0, 0, FORWARD,          88, _,               4, (uint32_t, int32_t, int32_t, uint8_t)) \
  X(107,  70, int32_t,           HostCall070,              ANSWER, 0,     0, 0, 0, 0, KEEP,             -1, _,               1, (uint8_t)) \
  X(108,  72, int32_t,           HostCall072,              ANSWER, 0,     0, 0, 0, 0, BROADCAST,        89, HostCall072,     1, (uint8_t)) \
  X(109,  -1, int32_t,           HostCallback15,           CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               2, (HostWord, HostWord)) \
  X(110,  -1, int32_t,           QueryChip,                ANSWER, -7000, 0, 0, 0, 0, KEEP,             -1, _,               3, (HostWord, int32_t, void*)) \
  X(111,  80, int32_t,           GetLatency16,             ANSWER, 0,     3, 0, 0, 0, FORWARD,          91, _,               3, (uint32_t, int32_t, int16_t*)) \
  X(112, 145, int32_t,           GetPlugLatency,           ANSWER, 0,     3, 0, 0, 0, FORWARD,          92, _,               3, (uint32_t, int32_t, int32_t*)) \
  X(113,  91, int32_t,           EnableProcessTypes,       ANSWER, -7000, 0, 0, 0, 0, OWN,              -1, _,               1, (int32_t)) \
  X(114,  92, int32_t,           GetTypeKindCode,          ANSWER, -7000, 0, 0, 0, 0, FORWARD,          93, _,               2, (uint32_t, int32_t*)) \
  X(115,  93, int32_t,           GetFeatureSupport,        ANSWER, -7000, 0, 0, 0, 0, OWN,              -1, _,               3, (uint32_t, int32_t, int32_t*)) \
  X(116, 108, int32_t,           GetStemFormatName,        ANSWER, -7000, 0, 0, 0, 0, OWN,              -1, _,               4, (uint32_t, int32_t, int32_t, uint8_t*)) \
  X(117,  94, int32_t,           HostCall094,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,          96, _,               5, (uint32_t, int32_t, int16_t, int16_t, char*)) \
  X(118,  -1, int32_t,           HostCall095,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,          97, _,               5, (uint32_t, int32_t, int16_t, int16_t, char*)) \
  X(119,  96, int32_t,           HostCall096,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,          98, _,               6, (uint32_t, int32_t, int16_t, int16_t, int16_t, int16_t*)) \
  X(120,  97, int32_t,           HostCall097,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,          99, _,               7, (uint32_t, int32_t, int16_t, int16_t, int16_t, int16_t, char*)) \
  X(121, 101, int32_t,           HostCall101,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,         100, _,               2, (uint32_t, int32_t)) \
  X(122, 102, int32_t,           HostCall102,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,         101, _,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(123, 103, int32_t,           HostCall103,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,         102, _,               5, (uint32_t, int32_t, int16_t, int32_t, int32_t*)) \
  X(124, 104, int32_t,           HostCall104,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,         103, _,               3, (uint32_t, int32_t, int32_t*)) \
  X(125, 105, int32_t,           HostCall105,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,         104, _,               3, (uint32_t, int32_t, int32_t*)) \
  X(126,  81, int32_t,           AddToControlValue,        ANSWER, 0,     0, 0, 0, 0, FORWARD,         105, _,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(127,  82, int32_t,           GetControlAttribute1,     ANSWER, 0,     4, 0, 0, 0, FORWARD,         106, _,               4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(128,  85, int32_t,           HostCall085,              ANSWER, 0,     3, 0, 0, 0, FORWARD,         107, _,               3, (uint32_t, int32_t, void**)) \
  X(129,  86, int32_t,           HostCall086,              ANSWER, 0,     4, 0, 0, 0, FORWARD,         108, _,               4, (uint32_t, int32_t, int32_t, void**)) \
  X(130,  88, int32_t,           IsControlContinuous,      ANSWER, 0,     4, 1, 0, 0, FORWARD,         109, _,               4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(131,  89, int32_t,           GetControlAttribute2,     ANSWER, 0,     4, 0, 0, 0, FORWARD,         110, _,               4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(132,  90, int32_t,           GetControlValueText,      ANSWER, 0,     5, 0, 0, 0, FORWARD,         111, _,               6, (uint32_t, int32_t, int32_t, int32_t, char*, int32_t)) \
  X(133, 175, int32_t,           ConvertControlString,     ANSWER, -9007, 5, 0, 0, 0, FORWARD,         112, _,               5, (uint32_t, int32_t, int32_t, char*, int32_t*)) \
  X(134, 126, int32_t,           GetControlHighlight,      ANSWER, 0,     4, 0, 5, 0, FORWARD,         113, _,               5, (uint32_t, int32_t, int32_t, int16_t*, int16_t*)) \
  X(135,  -1, int32_t,           SetControlHighlight,      ANSWER, 0,     0, 0, 0, 0, FORWARD,         114, _,               5, (uint32_t, int32_t, int32_t, int16_t, int16_t)) \
  X(136,  99, int32_t,           UpdateControlValue,       ANSWER, 0,     0, 0, 0, 0, FORWARD,         115, _,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(137, 100, int32_t,           AddToUpdatedControlValue, ANSWER, 0,     0, 0, 0, 0, FORWARD,         116, _,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(138,  87, int32_t,           GetFocusedControl,        ANSWER, 0,     0, 0, 0, 0, FORWARD,         117, _,               4, (uint32_t, int32_t, const Point&, int32_t*)) \
  X(139, 109, int32_t,           GetControlDefaultValue,   ANSWER, 0,     4, 0, 0, 0, FORWARD,         118, _,               4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(140, 156, int32_t,           HostCall156,              ANSWER, -7304, 0, 0, 0, 0, FORWARD,         119, _,               6, (uint32_t, int32_t, int32_t, int32_t, int32_t, int32_t*)) \
  X(141,  59, int32_t,           HostCall059,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         120, _,               5, (uint32_t, int32_t, int32_t, int32_t, int16_t*)) \
  X(142, 122, int32_t,           SetSharedPair,            CUSTOM, 0,     0, 0, 0, 0, BROADCAST,       121, SetSharedPair,   2, (int32_t, int32_t)) \
  X(143, 123, int32_t,           HostCall123,              ANSWER, 0,     0, 0, 0, 0, KEEP,             -1, _,               4, (uint32_t, int32_t, int32_t, SASPRegion*)) \
  X(144, 124, int32_t,           HostCall124,              ANSWER, 0,     0, 0, 0, 0, KEEP,             -1, _,               4, (uint32_t, int32_t, int32_t, SASPRegion*)) \
  X(145, 130, int32_t,           HostCall130,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         126, _,               3, (uint32_t, int32_t, int32_t)) \
  X(146,  -1, int32_t,           EnterGroupLock,           ANSWER, 0,     0, 0, 0, 0, OWN,              -1, _,               0, ()) \
  X(147,  -1, int32_t,           TryEnterGroupLock,        ANSWER, 0,     0, 0, 0, 0, OWN,              -1, _,               0, ()) \
  X(148,  -1, int32_t,           LeaveGroupLock,           ANSWER, 0,     0, 0, 0, 0, OWN,              -1, _,               0, ()) \
  X(149,  -1, void,              YieldGroupLock,           CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               0, ()) \
  X(150,  -1, void,              SetHostInterfaceVersion,  CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               1, (int32_t)) \
  X(151, 139, int32_t,           HostCall139,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         129, _,               3, (uint32_t, int32_t, void*)) \
  X(152, 140, int32_t,           HostCall140,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         128, _,               3, (uint32_t, int32_t, void*)) \
  X(153, 141, int32_t,           HostCall141,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         130, _,               5, (uint32_t, int32_t, SFicPlugInSpec*, int32_t, int32_t*)) \
  X(154, 142, int32_t,           HostCall142,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         131, _,               5, (uint32_t, int32_t, SFicPlugInSpec*, int32_t, int32_t*)) \
  X(155, 143, int32_t,           HostCall143,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         132, _,               4, (uint32_t, int32_t, int32_t, uint8_t)) \
  X(156, 151, int32_t,           HostCall151,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         133, _,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(157, 152, int32_t,           HostCall152,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         134, _,               4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(158, 153, int32_t,           HostCall153,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         135, _,               3, (uint32_t, int32_t, int32_t*)) \
  X(159, 154, int32_t,           HostCall154,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         136, _,               4, (uint32_t, int32_t, int32_t, int32_t)) \
  X(160, 155, int32_t,           HostCall155,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         137, _,               4, (uint32_t, int32_t, int32_t, int32_t*)) \
  X(161, 157, int32_t,           HostCall157,              ANSWER, 0,     0, 0, 0, 0, FORWARD,         138, _,               4, (uint32_t, int32_t, int32_t, uint8_t)) \
  X(162, 158, int32_t,           CountChunkDescriptors,    ANSWER, -7000, 0, 0, 0, 0, FORWARD,         139, _,               3, (uint32_t, int32_t, int32_t*)) \
  X(163, 159, int32_t,           GetChunkDescriptor,       ANSWER, -7000, 0, 0, 0, 0, FORWARD,         140, _,               4, (uint32_t, int32_t, int32_t, SFicPlugInStemInfo*)) \
  X(164, 168, int32_t,           HostCall168,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,         141, _,               3, (uint32_t, int32_t, void*)) \
  X(165, 169, int32_t,           HostCall169,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,         142, _,               4, (uint32_t, int32_t, SFileList*, SFileList*)) \
  X(166, 170, int32_t,           HostCall170,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,         143, _,               5, (uint32_t, int32_t, SFileList*, SFileList*, uint8_t)) \
  X(167, 173, int32_t,           HostCall173,              ANSWER, -7000, 0, 0, 0, 0, FORWARD,         144, _,               2, (uint32_t, int32_t)) \
  X(168, 172, int32_t,           HostCall172,              ANSWER, 0,     3, 0, 0, 0, FORWARD,         145, _,               3, (uint32_t, int32_t, IACFUnknown**)) \
  X(169,  -1, int32_t,           GetGroupTimeCodeCode,     CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               0, ()) \
  X(170,  -1, int32_t,           GetGroupTimeCodeValue,    CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               0, ()) \
  X(171,  -1, int32_t,           GetGroupSampleRate,       CUSTOM, 0,     0, 0, 0, 0, KEEP,             -1, _,               0, ())
