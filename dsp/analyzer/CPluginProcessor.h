#pragma once

#include <cstdint>

// The abstract block processor: channel counts, sample rate and two flags,
// with the processing and parameter operations left to each processor.
class CPluginProcessor {
 public:
  CPluginProcessor() = default;
  virtual ~CPluginProcessor() = default;
  CPluginProcessor(const CPluginProcessor&) = delete;
  CPluginProcessor& operator=(const CPluginProcessor&) = delete;

  virtual void Process(double** in, double** out, int frames) = 0;
  virtual void SetNumInputChannels(int n) = 0;
  virtual void SetNumOutputChannels(int n) = 0;
  virtual void SetSampleRate(double fs) = 0;
  virtual int GetNumParameters() = 0;
  virtual void SetParameter(int index, double value) = 0;
  virtual double GetParameter(int index) = 0;
  virtual double GetInfoDouble(int id);
  // Pointer-sized: processors hand out array addresses through it.
  virtual intptr_t GetInfoInt(int id);
  // Copies the processor's name with its terminator into buffer; returns 1.
  virtual int GetName(char* buffer) = 0;

  virtual void SetFlagA(bool on) { mFlagA = on; }
  virtual bool GetFlagA() { return mFlagA; }
  virtual void SetFlagB(bool on) { mFlagB = on; }
  virtual bool GetFlagB() { return mFlagB; }

  int GetNumInputChannels() const { return mNumInputChannels; }
  int GetNumOutputChannels() const { return mNumOutputChannels; }
  double GetSampleRate() const { return mSampleRate; }

 protected:
  int mNumInputChannels = 2;
  int mNumOutputChannels = 2;
  double mSampleRate = 44100.0;
  bool mFlagA = true;
  bool mFlagB = false;
};
