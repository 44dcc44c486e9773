#pragma once

// Band listen: while the user auditions a band, the bank's output is a
// narrow band-pass of the input around one frequency instead of the
// equalised signal. Each channel runs two equal second-order band-pass
// sections in series (bilinear transform of s d / (s^2 + s d + 1), with
// d = 1/Q), steeper than one section at the same width.
struct ListenSection {
  double s1 = 0.0, s2 = 0.0;  // the last two intermediate values
  double d = 0.0;             // inverse quality
  double k = 0.0;             // prewarp, 1 / tan(pi f / rate)
  double norm = 0.0;
  double a1 = 0.0, a2 = 0.0, b0 = 0.0;
  double gain = 1.0;  // linear

  // w = b0 x - (a2 s2 + a1 s1); y = (w - s2) gain: the numerator b0 (1 - z^-2)
  // is shared between the two outputs of the recursion.
  double Process(double x) {
    const double w = b0 * x - (a2 * s2 + a1 * s1);
    const double y = (w - s2) * gain;
    s2 = s1;
    s1 = w;
    return y;
  }
};

class BandListen {
 public:
  static constexpr double kWidth = 0.5;
  static constexpr double kStartFrequencyHz = 10.0;

  // Designs all four sections at the start frequency with unity gain and
  // clears their state; listening off.
  void Init(double processRate);
  // Redesigns at a new frequency and gain; the state is kept. The
  // frequency is held below half the rate, where the prewarp would turn
  // negative and the sections unstable.
  void Design(double frequencyHz, double gainDb, double processRate);
  // Keeps frequency and gain, for a new processing rate.
  void Redesign(double processRate) { Design(mFrequencyHz, mGainDb, processRate); }

  // Switching on clears the sections: a listen starts from rest, not
  // ringing with what the sections heard the last time.
  void SetActive(bool active);
  bool IsActive() const { return mActive; }
  double GetFrequencyHz() const { return mFrequencyHz; }
  double GetGainDb() const { return mGainDb; }

  // Channel 0 left (or mono), 1 right: its two sections in turn.
  double Process(int channel, double x) {
    ListenSection* s = mSections[channel & 1];
    return s[1].Process(s[0].Process(x));
  }

  // n samples of one channel from in to out (which may be the same buffer),
  // as n calls of Process would give them.
  void ProcessBlock(int channel, const double* in, double* out, int n);

  const ListenSection& GetSection(int channel, int stage) const { return mSections[channel & 1][stage & 1]; }

 private:
  ListenSection mSections[2][2];  // [channel][first, second]
  double mFrequencyHz = kStartFrequencyHz;
  double mGainDb = 0.0;
  bool mActive = false;
};
