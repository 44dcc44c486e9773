#pragma once

#include <cstdint>

class SpectrumAnalyzer;
class WDL_Mutex;

// What the display's refresh callback needs of the plug-in object: its two
// analysers and the parameter mirrors that gate them. The mirrors are read
// only under the plug mutex, where their writers hold it too; a null
// mirror reads as 0.
struct AnalyzerRefresh {
  SpectrumAnalyzer* preAnalyzer = nullptr;
  SpectrumAnalyzer* postAnalyzer = nullptr;
  const int32_t* analyzerHold = nullptr;            // "Hold": non-zero freezes both
  const int32_t* predictivePostSpectrum = nullptr;  // non-zero: no measured post spectrum
  const int32_t* postFilterSpectrum = nullptr;      // 1: post spectrum shown
};

// The display's refresh, on the GUI thread before it draws. Under the plug
// mutex the queued frames are analysed and the spectra captured; the
// curves are mapped after the mutex is released, so the audio thread waits
// only for the transforms; they become the display curves under the mutex
// again, unless "Hold" came on or an analyser was set up meanwhile. One
// refresh at a time: the capture and the mapped curves are the refresh's
// own, so two threads must not refresh the same analysers at once.
void UpdateAnalyzers(const AnalyzerRefresh& refresh, WDL_Mutex* plugMutex);
