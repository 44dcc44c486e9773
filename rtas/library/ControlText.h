#pragma once

#include <cstdint>
#include <string>

// Small text helpers of the host-visible controls.

// Equal texts when ASCII letters are folded to lower case. Item texts are
// the plug-in's own and typed texts the host's; neither should depend on
// the process locale.
bool EqualIgnoringCase(const char* a, const char* b);

// Copies text into a buffer of maxLength + 1 bytes, cut to maxLength
// characters and terminated; nothing is written when maxLength < 0.
void CopyTextCut(const std::string& text, char* buffer, int32_t maxLength);

// The name form of `forms` (newline-separated, longest first) that fits
// maxLength characters, as the library chooses it for the host.
std::string NameFormThatFits(const std::string& forms, int32_t maxLength);
