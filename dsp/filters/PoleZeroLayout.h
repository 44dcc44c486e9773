#pragma once

#include "dsp/filters/PoleZeroEntry.h"

namespace Dsp {

// The poles and zeros of a filter, grouped two by two into stage entries,
// plus the point where the filter's magnitude is normalised. The entry array
// belongs to the design object that holds the layout.
class PoleZeroLayout {
 public:
  PoleZeroLayout() = default;
  PoleZeroLayout(const PoleZeroLayout&) = delete;
  PoleZeroLayout& operator=(const PoleZeroLayout&) = delete;

  // entries must hold (maxPoles + 1) / 2 elements.
  void setStorage(int maxPoles, PoleZeroEntry* entries);
  // Empties the layout (the normalisation point is kept).
  void reset() { numPoles = 0; }
  void setNormal(double w, double gain) {
    normalW = w;
    normalGain = gain;
  }

  // The appends refuse what would overrun the entry array or follow a
  // first-order entry (which must stay last); they return false then.
  // {pole, conj pole, zero, conj zero}: two poles.
  bool addPoleZeroConjugatePairs(const Complex& pole, const Complex& zero);
  // {pole, 0, zero, 0}: one pole, a first-order stage.
  bool add(const Complex& pole, const Complex& zero);
  // {pole1, pole2, zero1, zero2}: two poles.
  bool add(const Complex& pole1, const Complex& zero1, const Complex& pole2, const Complex& zero2);

  int getNumPoles() const { return numPoles; }
  int getMaxPoles() const { return maxPoles; }
  int getNumEntries() const { return (numPoles + 1) / 2; }
  // True for the last entry of an odd pole count.
  bool isOddEntry(int index) const { return (numPoles & 1) != 0 && index == numPoles / 2; }
  const PoleZeroEntry& operator[](int index) const { return entries[index]; }
  PoleZeroEntry& operator[](int index) { return entries[index]; }
  double getNormalW() const { return normalW; }
  double getNormalGain() const { return normalGain; }

 private:
  bool append(const PoleZeroEntry& entry, int poles);

  int numPoles = 0;
  int maxPoles = 0;
  PoleZeroEntry* entries = nullptr;
  double normalW = 0.0;     // radians per sample
  double normalGain = 1.0;  // linear magnitude wanted at normalW
};

}  // namespace Dsp
