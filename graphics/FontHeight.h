#pragma once

// The platform font height that brings a cached font's line height to the
// style's size: height x height / line height, rounded, at least 2. The
// height itself when the line height already matches, and when the line
// height is not positive (a font without metrics cannot be corrected).
int CorrectedFontHeight(int height, int lineHeight);
