#pragma once

// Messages the library leaves for a developer, as the Mac's low-level
// debugger took them: they change nothing and are not shown to the user.
using DebuggerSink = void (*)(const char* message);

void ReportToDebugger(const char* message);
// Where reports go (standard error unless set; null restores that).
void SetDebuggerSink(DebuggerSink sink);
