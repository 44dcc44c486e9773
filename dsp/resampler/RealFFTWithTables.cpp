#include "dsp/resampler/RealFFTWithTables.h"

#include <cmath>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Reverses the order of `count` complex values (count a power of two).
void BitReverse(double* z, int count) {
  for (int i = 0, j = 0; i < count; ++i) {
    if (j > i) {
      std::swap(z[2 * i], z[2 * j]);
      std::swap(z[2 * i + 1], z[2 * j + 1]);
    }
    int bit = count >> 1;
    while (bit > 0 && (j & bit)) {
      j ^= bit;
      bit >>= 1;
    }
    j |= bit;
  }
}

// Twiddles e^(+2 pi i m / (n/2)) for m < n/8, the first quarter circle of
// the half-length complex transform, stored in bit-reversed order: entry g
// is then the twiddle of butterfly group g at every stage (see Transform).
void MakeTwiddles(int nw, double* w) {
  const int h = nw >> 1;
  const double delta = (kPi / 4) / h;
  w[0] = 1.0;
  w[1] = 0.0;
  w[h] = std::cos(delta * h);
  w[h + 1] = w[h];
  for (int j = 2; j < h; j += 2) {
    const double c = std::cos(delta * j);
    const double s = std::sin(delta * j);
    w[j] = c;
    w[j + 1] = s;
    w[nw - j] = s;
    w[nw - j + 1] = c;
  }
  BitReverse(w, nw >> 1);
}

// c[k] = 0.5 cos(2 pi k / n) for 0 < k < n/4 (c[0] is not read).
void MakeSplitTable(int nc, double* c) {
  const int h = nc >> 1;
  const double delta = (kPi / 4) / h;
  c[0] = std::cos(delta * h);
  c[h] = 0.5 * c[0];
  for (int j = 1; j < h; ++j) {
    c[j] = 0.5 * std::cos(delta * j);
    c[nc - j] = 0.5 * std::sin(delta * j);
  }
}

// Complex transform of m points already in bit-reversed order, natural order
// out. Stage s (partners s apart) gives block b the twiddle
// e^(i pi rev(b) / blocks); with the table in bit-reversed order that is
// w[b/2] for even b and i w[b/2] for odd b, at every stage, and the next
// stage's twiddle for the pair of blocks is that value squared. Two stages
// are therefore fused into one radix-4 pass that reads one table entry per
// group. sign +1 or -1 picks the exponent (conjugate twiddles).
void Transform(double* z, int m, const double* w, double sign) {
  int s = 1;
  int log2m = 0;
  while ((1 << log2m) < m) ++log2m;
  if (log2m & 1) {
    // One radix-2 stage with partners 1 apart: block b holds points 2b, 2b+1.
    for (int b = 0; b < m / 2; ++b) {
      const int g = b >> 1;
      double tr = g ? w[2 * g] : 1.0;
      double ti = g ? sign * w[2 * g + 1] : 0.0;
      if (b & 1) {
        // Times i (or -i for the inverse).
        const double t = tr;
        tr = -sign * ti;
        ti = sign * t;
      }
      double* p = z + 4 * b;
      const double dr = p[0] - p[2];
      const double di = p[1] - p[3];
      p[0] += p[2];
      p[1] += p[3];
      p[2] = tr * dr - ti * di;
      p[3] = tr * di + ti * dr;
    }
    s = 2;
  }
  for (; s < m; s <<= 2) {
    const int groups = m / (4 * s);
    for (int g = 0; g < groups; ++g) {
      const double w1r = g ? w[2 * g] : 1.0;
      const double w1i = g ? sign * w[2 * g + 1] : 0.0;
      const double w2r = w1r * w1r - w1i * w1i;
      const double w2i = 2.0 * w1r * w1i;
      // i w1 (or -i w1 for the inverse).
      const double w3r = -sign * w1i;
      const double w3i = sign * w1r;
      double* pa = z + 2 * (g * 4 * s);
      double* pb = pa + 2 * s;
      double* pc = pb + 2 * s;
      double* pd = pc + 2 * s;
      for (int t = 0; t < 2 * s; t += 2) {
        const double ar = pa[t] + pb[t], ai = pa[t + 1] + pb[t + 1];
        const double xr = pa[t] - pb[t], xi = pa[t + 1] - pb[t + 1];
        const double br = w1r * xr - w1i * xi, bi = w1r * xi + w1i * xr;
        const double cr = pc[t] + pd[t], ci = pc[t + 1] + pd[t + 1];
        const double yr = pc[t] - pd[t], yi = pc[t + 1] - pd[t + 1];
        const double dr = w3r * yr - w3i * yi, di = w3r * yi + w3i * yr;
        pa[t] = ar + cr;
        pa[t + 1] = ai + ci;
        pb[t] = br + dr;
        pb[t + 1] = bi + di;
        const double er = ar - cr, ei = ai - ci;
        const double fr = br - dr, fi = bi - di;
        pc[t] = w2r * er - w2i * ei;
        pc[t + 1] = w2r * ei + w2i * er;
        pd[t] = w2r * fr - w2i * fi;
        pd[t + 1] = w2r * fi + w2i * fr;
      }
    }
  }
}

}  // namespace

int RealFFTWorkAreaIpSize(int n) {
  return static_cast<int>(std::ceil(std::sqrt(n / 2.0) + 2.0));
}

void RealFFTWithTables(int n, int direction, double* a, int* ip, double* w) {
  if (n < 4 || (n & (n - 1)) != 0) return;
  int nw = ip[0];
  if (4 * nw < n) {
    nw = n >> 2;
    ip[0] = nw;
    if (nw > 2) MakeTwiddles(nw, w);
    // The split table sits behind the twiddles, which just moved its start.
    ip[1] = 0;
  }
  int nc = ip[1];
  if (4 * nc < n) {
    nc = n >> 2;
    ip[1] = nc;
    if (nc > 1) MakeSplitTable(nc, w + nw);
  }
  const double* c = w + nw;
  const int m = n >> 1;
  // Table entries step by this much when the tables were built for a larger n.
  const int ks = 2 * nc / m;

  if (direction >= 0) {
    BitReverse(a, m);
    Transform(a, m, w, 1.0);
    // Untangle the transform of z[j] = a[2j] + i a[2j+1] into the spectrum of
    // the real sequence: X[k] = Z[k] - x (1/2 + i e^(2 pi i k/n) / 2), with
    // x = Z[k] - conj Z[m-k], and the mirror bin likewise.
    for (int j = 2, kk = 0; j < m; j += 2) {
      const int k = n - j;
      kk += ks;
      const double wkr = 0.5 - c[nc - kk];
      const double wki = c[kk];
      const double xr = a[j] - a[k];
      const double xi = a[j + 1] + a[k + 1];
      const double yr = wkr * xr - wki * xi;
      const double yi = wkr * xi + wki * xr;
      a[j] -= yr;
      a[j + 1] -= yi;
      a[k] += yr;
      a[k + 1] -= yi;
    }
    const double x = a[0] - a[1];
    a[0] += a[1];
    a[1] = x;
  } else {
    a[1] = 0.5 * (a[0] - a[1]);
    a[0] -= a[1];
    // The inverse untangling rebuilds Z[k] from X[k] and X[m-k].
    for (int j = 2, kk = 0; j < m; j += 2) {
      const int k = n - j;
      kk += ks;
      const double wkr = 0.5 - c[nc - kk];
      const double wki = c[kk];
      const double xr = a[j] - a[k];
      const double xi = a[j + 1] + a[k + 1];
      const double yr = wkr * xr + wki * xi;
      const double yi = wkr * xi - wki * xr;
      a[j] -= yr;
      a[j + 1] -= yi;
      a[k] += yr;
      a[k + 1] -= yi;
    }
    BitReverse(a, m);
    Transform(a, m, w, -1.0);
  }
}
