#include "dsp/filters/ParamInfo.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace Dsp {

namespace {

// ln(1.5)
constexpr double kLnOnePointFive = 0.4054651081081644;

double Log15(double x) { return std::log(x) / kLnOnePointFive; }

std::string FixedText(double value, int decimals) {
  char text[64];
  const std::to_chars_result result =
      std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return std::string();
  return std::string(text, result.ptr);
}

std::string TruncatedText(double value) {
  double whole = std::trunc(value);
  if (whole == 0.0) whole = 0.0;  // no "-0" for values between -1 and 0
  return FixedText(whole, 0);
}

}  // namespace

double ParamInfo::LinearToControl(const ParamInfo& info, double nativeValue) {
  return (nativeValue - info.minimum) / (info.maximum - info.minimum);
}

double ParamInfo::LinearToNative(const ParamInfo& info, double controlValue) {
  return info.minimum + controlValue * (info.maximum - info.minimum);
}

double ParamInfo::IntToNative(const ParamInfo& info, double controlValue) {
  return std::floor(info.minimum + controlValue * (info.maximum - info.minimum) + 0.5);
}

double ParamInfo::LogToControl(const ParamInfo& info, double nativeValue) {
  const double low = Log15(info.minimum);
  return (Log15(nativeValue) - low) / (Log15(info.maximum) - low);
}

double ParamInfo::LogToNative(const ParamInfo& info, double controlValue) {
  const double low = Log15(info.minimum);
  return std::pow(1.5, low + controlValue * (Log15(info.maximum) - low));
}

std::string ParamInfo::NumberToString(const ParamInfo&, double nativeValue) {
  return TruncatedText(nativeValue);
}

std::string ParamInfo::HzToString(const ParamInfo&, double nativeValue) {
  return TruncatedText(nativeValue) + " Hz";
}

std::string ParamInfo::DbToString(const ParamInfo&, double nativeValue) {
  const double magnitude = std::fabs(nativeValue);
  const int decimals = magnitude < 1.0 ? 3 : (magnitude < 10.0 ? 2 : 1);
  return FixedText(nativeValue, decimals) + " dB";
}

ParamInfo MakeSampleRateParamInfo() {
  return {kSampleRateParam, "Fs", "Sample Rate", 11025, 192000, 44100,
          ParamInfo::LinearToControl, ParamInfo::LinearToNative, ParamInfo::HzToString};
}

ParamInfo MakeOrderParamInfo() {
  return {kOrderParam, "Order", "Order", 1, 16, 2,
          ParamInfo::LinearToControl, ParamInfo::IntToNative, ParamInfo::NumberToString};
}

// The upper frequency limit is 22040 Hz, not the Nyquist frequency of 44.1 kHz.
ParamInfo MakeCutoffFrequencyParamInfo() {
  return {kFrequencyParam, "Fc", "Cutoff Frequency", 10, 22040, 2000,
          ParamInfo::LogToControl, ParamInfo::LogToNative, ParamInfo::HzToString};
}

ParamInfo MakeCenterFrequencyParamInfo() {
  return {kFrequencyParam, "Fc", "Center Frequency", 10, 22040, 2000,
          ParamInfo::LogToControl, ParamInfo::LogToNative, ParamInfo::HzToString};
}

ParamInfo MakeBandwidthHzParamInfo() {
  return {kBandwidthHzParam, "BW", "Bandwidth (Hz)", 10, 22040, 1720,
          ParamInfo::LogToControl, ParamInfo::LogToNative, ParamInfo::HzToString};
}

ParamInfo MakeGainParamInfo() {
  return {kGainParam, "Gain", "Gain", -24, 24, -6,
          ParamInfo::LinearToControl, ParamInfo::LinearToNative, ParamInfo::DbToString};
}

void ThrowInvalidParamInfo() { throw std::logic_error("invalid usage of ParamInfo"); }

}  // namespace Dsp
