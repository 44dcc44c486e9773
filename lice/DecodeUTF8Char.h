#pragma once

// One character of the cached fonts' text walk: the bytes consumed and, when
// out is given, the 16-bit character. Two- and three-byte forms decode (the
// latter kept to 16 bits), four-byte forms are a space, and anything else,
// a missing continuation byte included, is the first byte's own value.
// It reads the continuation bytes a lead byte asks for whatever count the
// caller has left: every caller passes NUL-terminated text, and a NUL is
// never a continuation byte.
int DecodeUTF8Char(const char* text, int* out);
