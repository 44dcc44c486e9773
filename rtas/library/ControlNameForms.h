#pragma once

#include <cstdint>
#include <cstddef>
#include <string>

// A control's name, and each list item, may hold several forms separated by
// newlines, longest first ("Master Bypass\nMastrByp\nMByp\nByp"). The first
// form of at most maxLength characters is used; when none fits, the last
// form cut to maxLength. No room (maxLength <= 0) gives an empty text.
std::string NameFormThatFits(const std::string& forms, int32_t maxLength);

// Equal texts when ASCII letters are folded to lower case. Item texts are
// the plug-in's own and typed texts the host's; neither should depend on
// the process locale.
bool EqualIgnoringCase(const std::string& a, const char* b, size_t bLength);

// Copies text into a buffer of maxLength + 1 bytes, cut to maxLength
// characters and terminated; nothing is written when maxLength < 0.
void CopyTextCut(const std::string& text, char* buffer, int32_t maxLength);
