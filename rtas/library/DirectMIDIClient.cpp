#include "rtas/library/DirectMIDIClient.h"

#include "rtas/library/DAEFunctions.h"

int16_t UnregisterDirectMIDIClient(void* process) { return FicUnRegisterDirectMIDIClient(process); }
