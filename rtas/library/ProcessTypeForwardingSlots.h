#pragma once

// The process type's forwarding operations, one row per type slot: each
// finds instance a1 of the type and calls one operation of its process
// with the remaining arguments, unchanged and in order. The process slots
// are numbered as the host library's process table; most pairs are
// irregular, which is why they are rows and not arithmetic.
//
// Columns:
//   typeSlot, processSlot   the two slot numbers
//   Ret                      the result type
//   TypeName                 the type's operation (the group interface's
//                            name for it)
//   ProcessName              the CProcess operation it reaches
//   missing                  the answer when the instance does not exist
//   result                   PASS: the process's answer; ZERO: 0 whatever
//                            the process answered
//   n, types                 the arguments, the instance number first
//
// The type's other slots (its own behaviour, the broadcasts) are not rows
// here: they touch no single instance.
#define BRIMLOW_TYPE_FORWARDING_SLOTS(X) \
  X(  5,   5, int32_t,           ForwardRectToView,        DrawView,                 -7126, PASS, 2, (int32_t, Rect*)) \
  X(  6,   6, int32_t,           ForwardEventToView,       ClickView,                -7126, PASS, 2, (int32_t, EventRecord*)) \
  X(  7,   7, int32_t,           QueryControlFlag,         GetViewState,             -7126, PASS, 3, (int32_t, EventRecord*, uint8_t*)) \
  X(  9,   3, int32_t,           Idle,                     Idle,                     -7126, ZERO, 2, (int32_t, EventRecord*)) \
  X( 10,   8, int32_t,           GetViewRect,              GetViewRect,              -7126, ZERO, 2, (int32_t, Rect*)) \
  X( 11,   9, int32_t,           SetViewPort,              SetViewPort,              -7126, ZERO, 2, (int32_t, OpaqueGrafPtr*)) \
  X( 12,  10, int32_t,           SetViewPosition,          SetViewPosition,          -7126, ZERO, 2, (int32_t, const Point&)) \
  X( 19,  91, int32_t,           HostCall008,              ActivateView,             -7126, PASS, 1, (int32_t)) \
  X( 20,  92, int32_t,           HostCall009,              DeactivateView,           -7126, PASS, 1, (int32_t)) \
  X( 24,  13, int32_t,           SetBypass,                SetBypass,                -7126, PASS, 3, (int32_t, int32_t, uint8_t)) \
  X( 28, 149, int32_t,           CloseInstance,            CloseProcess,             -7126, PASS, 1, (int32_t)) \
  X( 30,  27, int32_t,           SetInputCount,            SetInputCount,            -7126, PASS, 2, (int32_t, int16_t)) \
  X( 31,  28, int32_t,           SetOutputCount,           SetOutputCount,           -7126, PASS, 2, (int32_t, int16_t)) \
  X( 33,  29, int32_t,           IsInputPortConnected,     IsInputPortConnected,     -7126, PASS, 3, (int32_t, int32_t, uint8_t*)) \
  X( 34,  30, int32_t,           IsOutputPortFree,         IsOutputPortFree,         -7126, PASS, 3, (int32_t, int32_t, uint8_t*)) \
  X( 35,  31, int32_t,           IsOutputPortConnected,    IsOutputPortConnected,    -7126, PASS, 3, (int32_t, int32_t, uint8_t*)) \
  X( 36,  32, int32_t,           ConnectInputPortSlot,     ConnectInputPortSlot,     -7126, PASS, 3, (int32_t, int32_t, int32_t)) \
  X( 37,  33, int32_t,           ConnectOutputPortSlot,    ConnectOutputPortSlot,    -7126, PASS, 3, (int32_t, int32_t, int32_t)) \
  X( 38,  34, int32_t,           DisconnectInputPortSlot,  DisconnectInputPortSlot,  -7126, PASS, 2, (int32_t, int32_t)) \
  X( 39,  35, int32_t,           DisconnectOutputPortSlot, DisconnectOutputPortSlot, -7126, PASS, 2, (int32_t, int32_t)) \
  X( 40,  22, int32_t,           GetProcessWord1,          GetTypeWord1,             -7126, ZERO, 2, (int32_t, HostWord*)) \
  X( 41,  24, int32_t,           GetProcessWord2,          GetTypeWord2,             -7126, ZERO, 2, (int32_t, HostWord*)) \
  X( 42,  36, int32_t,           GetControlCount,          GetControlCount,          -7126, PASS, 2, (int32_t, int16_t*)) \
  X( 43,  37, int32_t,           GetMasterBypassControl,   GetMasterBypassControl,   -7126, PASS, 2, (int32_t, int32_t*)) \
  X( 44,  38, int32_t,           GetControlAutomatable,    GetControlAutomatable,    -7126, PASS, 3, (int32_t, int32_t, int16_t*)) \
  X( 45,  39, int32_t,           GetControlNumSteps,       GetNumSteps,              -7126, PASS, 3, (int32_t, int32_t, int32_t*)) \
  X( 46,  43, int32_t,           GetControlName,           GetControlName,           -7126, PASS, 3, (int32_t, int32_t, char*)) \
  X( 47,  44, int32_t,           GetControlNameOfLength,   GetControlNameOfLength,   -7126, PASS, 6, (int32_t, int32_t, char*, int32_t, uint32_t, int16_t*)) \
  X( 48,  46, int32_t,           GetControlValue,          GetControlValue,          -7126, PASS, 3, (int32_t, int32_t, int32_t*)) \
  X( 49,  47, int32_t,           SetControlValue,          SetControlValue,          -7126, PASS, 3, (int32_t, int32_t, int32_t)) \
  X( 50,  52, int32_t,           HostCall049,              HostCall049,              -7126, PASS, 3, (int32_t, int32_t, SFicAutoTimeRampData*)) \
  X( 51,  53, SFicTDMAutoElem**, HostCall073,              HostCall073,                  0, PASS, 2, (int32_t, int32_t)) \
  X( 52,  54, void*,             HostCall074,              HostCall074,                  0, PASS, 2, (int32_t, int32_t)) \
  X( 53,  55, int32_t,           HostCall120,              CountSurfacePages,            0, PASS, 3, (int32_t, uint32_t, int16_t)) \
  X( 54,  56, int32_t,           HostCall121,              GetSurfacePageEntry,          0, PASS, 5, (int32_t, uint32_t, int16_t, int16_t, int16_t)) \
  X( 55,  57, int32_t,           HostCall129,              HasSurfacePages,              0, PASS, 3, (int32_t, uint32_t, int16_t)) \
  X( 58,  58, int32_t,           IsBypassed,               IsBypassed,               -7126, PASS, 3, (int32_t, int32_t, uint8_t*)) \
  X( 59,  59, int32_t,           HostCall050,              HostCall050,              -7126, PASS, 3, (int32_t, int32_t, uint8_t)) \
  X( 60,  60, int32_t,           HostCall052,              HostCall052,              -7126, PASS, 3, (int32_t, int32_t, uint8_t*)) \
  X( 62,  61, int32_t,           HostCall135,              GetFlaggedControl,        -7126, PASS, 3, (int32_t, uint32_t, uint32_t*)) \
  X( 64,  62, int32_t,           GetProcessMeterCount,     GetProcessMeterCount,     -7126, PASS, 2, (int32_t, int32_t*)) \
  X( 65,  63, int32_t,           GetMeterValues,           GetMeterValues,           -7126, PASS, 3, (int32_t, int32_t, int32_t*)) \
  X( 66,  64, int32_t,           HostCall055,              HostCall055,              -7126, PASS, 3, (int32_t, int32_t, char*)) \
  X( 67,  65, int32_t,           GetMeterEntryFlag,        GetMeterEntryFlag,        -7126, PASS, 3, (int32_t, int32_t, char*)) \
  X( 68,  66, int32_t,           GetMeterCountOfKind,      GetMeterCountOfKind,      -7126, PASS, 3, (int32_t, char, int32_t*)) \
  X( 69,  67, int32_t,           GetNthMeterOfKind,        GetNthMeterOfKind,        -7126, PASS, 4, (int32_t, char, int32_t, int32_t*)) \
  X( 70,  68, int32_t,           IsClipped,                IsClipped,                -7126, PASS, 2, (int32_t, uint8_t*)) \
  X( 71,  69, int32_t,           ClearClipIndicators,      ClearClipIndicators,      -7126, PASS, 1, (int32_t)) \
  X( 72,  71, int32_t,           HostCall160,              HostCall160,              -7126, PASS, 4, (int32_t, int32_t, int32_t, uint8_t)) \
  X( 73,  72, int32_t,           HostCall161,              HostCall161,              -7126, PASS, 2, (int32_t, uint8_t*)) \
  X( 74,  73, int32_t,           HostCall162,              HostCall162,              -7126, PASS, 4, (int32_t, int32_t, void*, uint8_t*)) \
  X( 75,  74, int32_t,           HostCall163,              HostCall163,              -7126, PASS, 1, (int32_t)) \
  X( 76,  75, int32_t,           HostCall164,              HostCall164,              -7126, PASS, 3, (int32_t, int32_t, int32_t)) \
  X( 77,  76, int32_t,           CountChunks,              CountChunks,              -7126, PASS, 2, (int32_t, int32_t*)) \
  X( 78,  77, int32_t,           GetChunkIdAt,             GetChunkIdAt,             -7126, PASS, 3, (int32_t, int32_t, uint32_t*)) \
  X( 79,  78, int32_t,           GetChunkName,             GetChunkName,             -7126, PASS, 3, (int32_t, uint32_t, uint8_t*)) \
  X( 80,  79, int32_t,           GetChunkSize,             GetChunkSize,             -7126, PASS, 3, (int32_t, uint32_t, int32_t*)) \
  X( 81,  80, int32_t,           GetProcessChunk,          GetChunk,                 -7126, PASS, 3, (int32_t, uint32_t, SFicPlugInChunk*)) \
  X( 82,  81, int32_t,           SetProcessChunk,          SetChunk,                 -7126, PASS, 3, (int32_t, uint32_t, SFicPlugInChunk*)) \
  X( 83,  82, int32_t,           CompareProcessChunk,      CompareChunk,             -7126, PASS, 3, (int32_t, SFicPlugInChunk*, uint8_t*)) \
  X( 84,  84, int32_t,           HostCall165,              HostCall165,              -7126, PASS, 2, (int32_t, char*)) \
  X( 85,  85, int32_t,           HostCall171,              HostCall171,              -7126, PASS, 2, (int32_t, void*)) \
  X( 86,  83, int32_t,           GetChangeCount,           GetChangeCount,           -7126, PASS, 2, (int32_t, int32_t*)) \
  X( 88,  87, int32_t,           HostCall071,              HostCall071,              -7126, PASS, 3, (int32_t, int32_t, uint8_t)) \
  X( 91,  89, int32_t,           GetLatency16,             GetLatency16,             -7126, PASS, 2, (int32_t, int16_t*)) \
  X( 92,  90, int32_t,           GetPlugLatency,           GetLatency,               -7126, PASS, 2, (int32_t, int32_t*)) \
  X( 95, 126, int32_t,           GetStemFormatName,        GetStemFormatName,        -7126, PASS, 3, (int32_t, int32_t, uint8_t*)) \
  X( 96,  93, int32_t,           HostCall094,              HostCall094,              -7126, PASS, 4, (int32_t, int16_t, int16_t, char*)) \
  X( 97,  94, int32_t,           HostCall095,              HostCall095,              -7126, PASS, 4, (int32_t, int16_t, int16_t, char*)) \
  X( 98,  95, int32_t,           HostCall096,              HostCall096,              -7126, PASS, 5, (int32_t, int16_t, int16_t, int16_t, int16_t*)) \
  X( 99,  96, int32_t,           HostCall097,              HostCall097,              -7126, PASS, 6, (int32_t, int16_t, int16_t, int16_t, int16_t, char*)) \
  X(100,  97, int32_t,           HostCall101,              HostCall101,              -7126, PASS, 1, (int32_t)) \
  X(101,  98, int32_t,           HostCall102,              HostCall102,              -7126, PASS, 3, (int32_t, int32_t, int32_t)) \
  X(102,  99, int32_t,           HostCall103,              HostCall103,              -7126, PASS, 4, (int32_t, int16_t, int32_t, int32_t*)) \
  X(103, 100, int32_t,           HostCall104,              HostCall104,              -7126, PASS, 2, (int32_t, int32_t*)) \
  X(104, 101, int32_t,           HostCall105,              HostCall105,              -7126, PASS, 2, (int32_t, int32_t*)) \
  X(105,  48, int32_t,           AddToControlValue,        AddToControlValue,        -7126, PASS, 3, (int32_t, int32_t, int32_t)) \
  X(106, 113, int32_t,           GetControlAttribute1,     GetControlAttribute1,     -7126, PASS, 3, (int32_t, int32_t, int32_t*)) \
  X(107, 116, int32_t,           HostCall085,              GetInstanceNameID,        -7126, PASS, 2, (int32_t, void**)) \
  X(108, 117, int32_t,           HostCall086,              GetControlNameID,         -7126, PASS, 3, (int32_t, int32_t, void**)) \
  X(109, 114, int32_t,           IsControlContinuous,      IsControlContinuous,      -7126, PASS, 3, (int32_t, int32_t, int32_t*)) \
  X(110, 115, int32_t,           GetControlAttribute2,     GetControlAttribute2,     -7126, PASS, 3, (int32_t, int32_t, int32_t*)) \
  X(111, 118, int32_t,           GetControlValueText,      GetControlValueText,      -7126, PASS, 5, (int32_t, int32_t, int32_t, char*, int32_t)) \
  X(112, 119, int32_t,           ConvertControlString,     ConvertControlText,       -7126, PASS, 4, (int32_t, int32_t, char*, int32_t*)) \
  X(113, 120, int32_t,           GetControlHighlight,      GetControlHighlight,      -7126, PASS, 4, (int32_t, int32_t, int16_t*, int16_t*)) \
  X(114, 121, int32_t,           SetControlHighlight,      SetControlHighlight,      -7126, PASS, 4, (int32_t, int32_t, int16_t, int16_t)) \
  X(115, 110, int32_t,           UpdateControlValue,       UpdateControlValue,       -7126, PASS, 3, (int32_t, int32_t, int32_t)) \
  X(116, 112, int32_t,           AddToUpdatedControlValue, AddToUpdatedControlValue, -7126, PASS, 3, (int32_t, int32_t, int32_t)) \
  X(117, 124, int32_t,           GetFocusedControl,        GetFocusedControl,        -7126, PASS, 3, (int32_t, const Point&, int32_t*)) \
  X(118,  49, int32_t,           GetControlDefaultValue,   GetControlDefaultValue,   -7126, PASS, 3, (int32_t, int32_t, int32_t*)) \
  X(119,  51, int32_t,           HostCall156,              HostCall156,              -7126, PASS, 5, (int32_t, int32_t, int32_t, int32_t, int32_t*)) \
  X(126, 129, int32_t,           HostCall130,              HostCall130,              -7126, PASS, 2, (int32_t, int32_t)) \
  X(128, 131, int32_t,           HostCall140,              GetStoredRecord,          -7126, PASS, 2, (int32_t, void*)) \
  X(129, 132, int32_t,           HostCall139,              StoreRecord,              -7126, PASS, 2, (int32_t, void*)) \
  X(130, 133, int32_t,           HostCall141,              HostCall141,              -7126, PASS, 4, (int32_t, SFicPlugInSpec*, int32_t, int32_t*)) \
  X(131, 134, int32_t,           HostCall142,              HostCall142,              -7126, PASS, 4, (int32_t, SFicPlugInSpec*, int32_t, int32_t*)) \
  X(132, 135, int32_t,           HostCall143,              HostCall143,              -7126, PASS, 3, (int32_t, int32_t, uint8_t)) \
  X(133, 139, int32_t,           HostCall151,              HostCall151,              -7126, PASS, 3, (int32_t, int32_t, int32_t)) \
  X(134, 140, int32_t,           HostCall152,              HostCall152,              -7126, PASS, 3, (int32_t, int32_t, int32_t*)) \
  X(135, 141, int32_t,           HostCall153,              HostCall153,              -7126, PASS, 2, (int32_t, int32_t*)) \
  X(136, 142, int32_t,           HostCall154,              HostCall154,              -7126, PASS, 3, (int32_t, int32_t, int32_t)) \
  X(137, 143, int32_t,           HostCall155,              HostCall155,              -7126, PASS, 3, (int32_t, int32_t, int32_t*)) \
  X(138, 144, int32_t,           HostCall157,              HostCall157,              -7126, PASS, 3, (int32_t, int32_t, uint8_t)) \
  X(139, 136, int32_t,           CountChunkDescriptors,    CountChunkDescriptors,    -7126, PASS, 2, (int32_t, int32_t*)) \
  X(140, 137, int32_t,           GetChunkDescriptor,       GetChunkDescriptor,       -7126, PASS, 3, (int32_t, int32_t, SFicPlugInStemInfo*)) \
  X(141, 145, int32_t,           HostCall168,              HostCall168,              -7126, PASS, 2, (int32_t, void*)) \
  X(142, 146, int32_t,           HostCall169,              HostCall169,              -7126, PASS, 3, (int32_t, SFileList*, SFileList*)) \
  X(143, 147, int32_t,           HostCall170,              HostCall170,              -7126, PASS, 4, (int32_t, SFileList*, SFileList*, uint8_t)) \
  X(144, 148, int32_t,           HostCall173,              HostCall173,              -7126, PASS, 1, (int32_t)) \
  X(145, 138, int32_t,           HostCall172,              HostCall172,              -7126, PASS, 2, (int32_t, IACFUnknown**))
