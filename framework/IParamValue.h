#pragma once

// One (parameter index, value) pair: what the named-parameter preset makers
// take and what a preset document assigns. Integer-kind parameters take an
// int and the rest a double; the template constructor accepts either inside
// a braced list without a narrowing error.
struct IParamValue {
  template <class V>
  constexpr IParamValue(int paramIdx, V value) : mParamIdx(paramIdx), mValue(static_cast<double>(value)) {}

  int mParamIdx;
  double mValue;
};
