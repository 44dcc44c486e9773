#include "dsp/resampler/LowPassKernel.h"

#include "dsp/resampler/FFTWorkAreaPool.h"
#include "dsp/resampler/LowPassCorrectionTables.h"
#include "dsp/resampler/RealFFTWithTables.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kBeta = 125.0;
// I0(125): the polynomial approximation would lose its last digits here.
constexpr double kI0Beta = 6.91355057666251e52;
constexpr double kExponentSplit = 0.067665322581;

double Asinh(double v) { return std::log(v + std::sqrt(v * v + 1.0)); }

// Window exponent of the fit as a function of x = offset - attenuation (dB).
double WindowExponent(double x) {
  const double c1 = std::cos(0.00785021930010397 * x);
  return -1.37304948662012e-5 * x * c1 - 0.0969365532127236 * std::exp(0.0779275237937911 * x) +
         0.000102747434588003 * c1 * std::cos(0.103208573657699 * x + 0.633854318781239) +
         7.43932822146293e-8 * x * x - 0.00798132247867036 - 0.000903555213543865 * x;
}

}  // namespace

LowPassKernelFit FitLowPassKernel(double c, double transitionPercent, double a,
                                  const double* correction) {
  const double w = transitionPercent * 0.01;
  const int band = w >= 0.25 ? 0 : (w >= 0.1 ? 1 : 2);
  static const double kOffsets[3][3] = {{-1.6, -1.91, -2.25}, {-0.69, -0.73, -1.13},
                                        {-0.21, -0.25, -0.36}};
  const double b = kOffsets[band][a >= 117.0 ? 0 : (a >= 60.0 ? 1 : 2)];
  double x = b - a;

  int i = static_cast<int>(std::floor((-49.0 - x) * 264.0 / 176.25 + 0.5));
  i = std::min(std::max(i, 0), kLowPassCorrectionEntries - 1);
  double q;
  if (correction) {
    q = correction[i];
  } else if (band == 0) {
    q = kLowPassCorrectionWide[i] / kLowPassCorrectionWideDivisor;
  } else if (band == 1) {
    q = kLowPassCorrectionMedium[i] / kLowPassCorrectionMediumDivisor;
  } else {
    q = kLowPassCorrectionNarrow[i] / kLowPassCorrectionNarrowDivisor;
  }
  x -= q;

  const double p = WindowExponent(x);
  double m;
  double r;
  if (p <= kExponentSplit) {
    if (band == 0) {
      m = 300.547590563091 * std::atan(std::atan(2.68959772209918 * p)) /
              (5.5099277187035 * w - std::tanh(std::cos(Asinh(x))) * w) +
          2.6778150875894 / w;
      r = 1.00011788929851 *
              std::atan2(-6.19131357321578 * std::sqrt(p) - 0.321432067051302,
                         m - 1.14861472207245 / (m - 14.1821147585957) +
                             std::pow(0.9521145021664,
                                      std::pow(std::atan2(1.12018764830637, w),
                                               2.10988901686912 * m - 20.9691278378345))) +
          0.987205355829873 * w;
    } else if (band == 1) {
      m = (142.064321294568 * p + 1.56688617018066 +
           0.00419441117131136 * std::cos(243.633511747297 * p) - 0.022953443903576 * x -
           0.026629568860284 * std::cos(127.715550622571 * p)) /
          w;
      r = 0.999441744774215 * Asinh((-5.80540593623676 * std::sqrt(p) - 0.361783054039583) / m) +
          0.982299356642411 * w;
    } else {
      m = (269.183679500541 * p *
               std::cos(std::atan2(std::cosh(-17.2201556280744 * p + 0.988861169868941),
                                   1.08340138240431 * p) +
                        5.73225668178813) +
           2.45739657014937) /
          w;
      r = 0.01942450693 * w * w * m + 2.291956939 * w - 4.67538973161837 * p * w -
          1.668433124 * w * std::pow(p, p);
    }
  } else {
    if (band == 0) {
      m = (158.556968859477 * Asinh(p) * std::tanh(57.9466246871383 * std::tanh(p)) +
           1.50258368698213 - 0.0105440479814834 * x) /
          w;
      r = (-6.8724924545387 * std::sqrt(std::sin(p)) - 0.236282717577215) / m +
          0.994024401639321 * w;
    } else if (band == 1) {
      m = (158.222625721046 * Asinh(p) * std::tanh(42.072277322604 * p + 1.02875299001715) +
           1.50277377248945 - 0.0108380943845632 * x) /
          w;
      r = (-6.74159892452584 * std::sqrt(std::tanh(std::tanh(std::tan(p)))) - 0.251747813037178) /
              m +
          0.992539376734551 * w;
    } else {
      m = (-0.158676856669827 * x * std::cos(-6.33932586197475 * p * p * p + 1.1609073390614 * p) -
           5.02124037125213 * p * p + 1.15990238966306 * p) /
          w;
      r = 0.867344453126885 * w + 0.052693817907757 * w * std::log(p) +
          0.0895511178735932 * w * std::atan(59.7538527741309 * p) - 0.0745653568081453 * p * w;
    }
  }
  return {p, m, r, m * 0.25 / c};
}

void GenerateWindowedSinc(double* taps, int32_t h, double wc, KaiserWindowState* window,
                          double exponent) {
  const double e = std::fabs(exponent);
  taps[h] = wc / kPi * std::pow(KaiserWindow(window), e);
  // sin(k wc) by the Chebyshev recurrence from s(0) = 0, s(-1) = sin(-wc).
  const double twoCos = 2.0 * std::cos(wc);
  double sPrev = std::sin(-wc);
  double s = 0.0;
  for (int k = 1; k <= h; ++k) {
    const double sNext = twoCos * s - sPrev;
    sPrev = s;
    s = sNext;
    const double v = s / (k * kPi) * std::pow(KaiserWindow(window), e);
    taps[h + k] = v;
    taps[h - k] = v;
  }
}

void DesignLowPassKernel(LowPassKernel* kernel, const double* correction) {
  const LowPassKernelFit fit =
      FitLowPassKernel(kernel->cutoff, kernel->transitionPercent, kernel->attenuationDb, correction);
  const int h = static_cast<int>(std::floor(fit.halfWidth));
  int log2Block = 0;
  while ((1 << log2Block) <= 2 * h) ++log2Block;
  const int n = 1 << (log2Block + 1);

  kernel->halfLength = h;
  kernel->length = 2 * h + 1;
  kernel->log2Block = log2Block;
  kernel->delay = 0.0;
  kernel->spectrum = new double[n]();

  const double wc = (1.0 - fit.pullIn) * kPi * kernel->cutoff;
  KaiserWindowState window = {fit.halfWidth, 0, 0.0, kBeta, kI0Beta};
  GenerateWindowedSinc(kernel->spectrum, h, wc, &window, fit.exponent);

  FFTWorkArea* area = AcquireFFTWorkArea(log2Block + 1);
  // Unit DC gain through a forward and an unscaled inverse transform.
  double sum = 0.0;
  for (int i = 0; i < kernel->length; ++i) sum += kernel->spectrum[i];
  const double scale = area->inverseScale / sum;
  for (int i = 0; i < kernel->length; ++i) kernel->spectrum[i] *= scale;
  kernel->taps = new double[kernel->length];
  for (int i = 0; i < kernel->length; ++i) kernel->taps[i] = kernel->spectrum[i] / area->inverseScale;
  RealFFTWithTables(n, 1, kernel->spectrum, area->ip, area->w);
  ReleaseFFTWorkArea(area);
}

void DeleteLowPassKernel(LowPassKernel* kernel) {
  if (!kernel) return;
  delete[] kernel->spectrum;
  delete[] kernel->taps;
  delete kernel;
}
