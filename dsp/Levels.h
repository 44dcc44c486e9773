#pragma once

// Level conventions shared by the signal-processing library and the engine.
namespace Levels {

// ln(10) / 20: a gain in dB becomes linear as exp(dB x kDbToLog).
constexpr double kDbToLog = 0.11512925464970228;
// 20 / ln(10): a natural logarithm of an amplitude becomes dB.
constexpr double kLogToDb = 8.685889638065037;
// The level that stands for silence, and the amplitude at or below which
// a magnitude reads as silence (10^(-144/20)).
constexpr double kSilenceDb = -144.0;
constexpr double kSilenceAmplitude = 6.309e-08;

double DbToAmp(double db);
// -144 for amplitudes of 6.309e-08 or less (and for NaN).
double AmpToDb(double amplitude);
// One-pole coefficient for a time constant: 10^(-1 / (seconds x rate)).
// A time of 0 gives 0 through IEEE infinity (an instant follower).
double TimeConstantCoefficient(double seconds, double sampleRate);

}  // namespace Levels
