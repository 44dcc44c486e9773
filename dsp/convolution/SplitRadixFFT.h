#pragma once

// Complex FFT of 2 .. 2^19 points over process-wide tables, used by the
// convolution engine and the linear-phase impulse builder.
//
// Data are N complex values, (re, im) doubles interleaved, transformed in
// place. The forward transform computes X[k] = sum_j x[j] e^(+2 pi i j k / N)
// (positive exponent, which the other transforms of the program share) and
// leaves it in a scrambled order: position p holds X[ScrambledIndex(N, p)].
// The inverse takes that order and returns x'[j] = sum_k X[k] e^(-2 pi i j k / N)
// in natural order. Neither scales: inverse(forward(x)) = N x. Skipping the
// reordering costs nothing when spectra are only multiplied point by point.
namespace SplitRadixFFT {

constexpr int kMinSize = 2;
constexpr int kMaxSize = 1 << 19;

// Builds the tables the transforms of up to maxSize points use, each table
// exactly once; any thread may call it any time, and a thread that comes
// while another builds waits until the table is whole. RunFFT calls it for
// its own size too, so calling it ahead only moves the cost: callers do, off
// the audio thread, for the sizes the audio thread will run.
void InitFFT(int maxSize = kMaxSize);

// direction 0 forward, anything else inverse. Returns false, leaving the
// data untouched, when n is not a power of two from 2 to 2^19. Runs the
// fastest variant the processor offers.
bool RunFFT(double* data, int n, int direction);

// The variants: the passes of the portable one, or vector passes that take
// several butterflies at once. Each performs every point's operations in
// the same order, so all give the same bits.
enum class FFTKernel { kPortable = 0, kAvx512 = 1 };
bool IsFFTKernelAvailable(FFTKernel kernel);
FFTKernel BestFFTKernel();
// RunFFT with a chosen variant (an unavailable one falls back to the best).
bool RunFFTWith(FFTKernel kernel, double* data, int n, int direction);

// The product of two spectra of `points` complex values, into work or added
// to it: work[k] (+)= h[k] x[k], the parts (hr xr - hi xi, hr xi + hi xr)
// formed in that order, by the fastest variant.
void MultiplySpectra(const double* h, const double* x, double* work, int points, bool accumulate);
void MultiplySpectraWith(FFTKernel kernel, const double* h, const double* x, double* work, int points,
                         bool accumulate);

// Two transforms of n points at once, interleaved double by double:
// pairs[2i] is double i of the first data (re, im, re, ...), pairs[2i + 1]
// of the second (4n doubles in all). Each comes out bit for bit as RunFFT
// leaves it alone; the two share every index, twiddle and vector operation.
bool RunFFTPair(double* pairs, int n, int direction);

bool IsSupportedSize(int n);

// r(N, p): the bin index held at position p of a forward output.
int ScrambledIndex(int n, int p);

// The permutation table: for every N = 16, 32, .., 2^19 a block of N
// entries starting at entry N - 16. Entry k of a block is the position of
// the forward output that holds the bin k counted with the opposite sign of
// the exponent, that is X[(N - k) mod N]. Built by the first call.
const int* GetPermutationTable();
// The block for size n, or null when n has none (below 16 or unsupported).
const int* GetPermutation(int n);

}  // namespace SplitRadixFFT
