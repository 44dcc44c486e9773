#include "dsp/filters/PoleZeroLayout.h"

namespace Dsp {

void PoleZeroLayout::setStorage(int maxPoleCount, PoleZeroEntry* entryArray) {
  maxPoles = entryArray ? maxPoleCount : 0;
  entries = entryArray;
  numPoles = 0;
}

bool PoleZeroLayout::append(const PoleZeroEntry& entry, int poles) {
  if ((numPoles & 1) != 0 || numPoles + poles > maxPoles) return false;
  entries[numPoles / 2] = entry;
  numPoles += poles;
  return true;
}

bool PoleZeroLayout::addPoleZeroConjugatePairs(const Complex& pole, const Complex& zero) {
  return append({pole, std::conj(pole), zero, std::conj(zero)}, 2);
}

bool PoleZeroLayout::add(const Complex& pole, const Complex& zero) {
  return append({pole, Complex(), zero, Complex()}, 1);
}

bool PoleZeroLayout::add(const Complex& pole1, const Complex& zero1, const Complex& pole2,
                         const Complex& zero2) {
  return append({pole1, pole2, zero1, zero2}, 2);
}

}  // namespace Dsp
