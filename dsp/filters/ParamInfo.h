#pragma once

#include <string>

namespace Dsp {

// Kinds of filter parameter, as the descriptors report them.
enum ParamKind {
  kSampleRateParam = 0,
  kFrequencyParam = 1,
  kBandwidthHzParam = 4,
  kGainParam = 5,
  kOrderParam = 7,
};

// Describes one entry of a filter's parameter vector: its range, default and
// how it maps to a 0..1 control and to text. Nothing clamps parameters to
// these ranges; they only inform a user interface.
struct ParamInfo {
  using ToControlFunction = double (*)(const ParamInfo& info, double nativeValue);
  using ToNativeFunction = double (*)(const ParamInfo& info, double controlValue);
  using ToTextFunction = std::string (*)(const ParamInfo& info, double nativeValue);

  int kind;
  const char* slug;  // static texts: descriptors are copied freely
  const char* name;
  double minimum;
  double maximum;
  double defaultValue;
  ToControlFunction toControlFunction;
  ToNativeFunction toNativeFunction;
  ToTextFunction toTextFunction;

  double toControl(double nativeValue) const { return toControlFunction(*this, nativeValue); }
  double toNative(double controlValue) const { return toNativeFunction(*this, controlValue); }
  std::string toText(double nativeValue) const { return toTextFunction(*this, nativeValue); }

  static double LinearToControl(const ParamInfo& info, double nativeValue);
  static double LinearToNative(const ParamInfo& info, double controlValue);
  // Linear, rounded to the nearest integer.
  static double IntToNative(const ParamInfo& info, double controlValue);
  // Logarithmic in base 1.5 (the base cancels out; it is kept for the
  // rounding of the values it produces).
  static double LogToControl(const ParamInfo& info, double nativeValue);
  static double LogToNative(const ParamInfo& info, double controlValue);
  // The value truncated toward zero.
  static std::string NumberToString(const ParamInfo& info, double nativeValue);
  // The truncated value followed by " Hz".
  static std::string HzToString(const ParamInfo& info, double nativeValue);
  // Fixed notation, 3 decimals below 1 dB in magnitude, 2 below 10 dB, else
  // 1, followed by " dB". Always with a point, whatever the locale.
  static std::string DbToString(const ParamInfo& info, double nativeValue);
};

ParamInfo MakeSampleRateParamInfo();
ParamInfo MakeOrderParamInfo();
ParamInfo MakeCutoffFrequencyParamInfo();
ParamInfo MakeCenterFrequencyParamInfo();
ParamInfo MakeBandwidthHzParamInfo();
ParamInfo MakeGainParamInfo();

// Raised by a design's getParamInfo for an index it does not define.
[[noreturn]] void ThrowInvalidParamInfo();

using ParamInfoMaker = ParamInfo (*)();

// A design's descriptors in index order: each design lists its makers once
// and answers getParamInfo from the list.
template <int N>
ParamInfo ParamInfoAt(const ParamInfoMaker (&makers)[N], int index) {
  if (index < 0 || index >= N) ThrowInvalidParamInfo();
  return makers[index]();
}

}  // namespace Dsp
