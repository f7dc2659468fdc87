// The numerics of the processing steps that change a version's samples,
// as plain functions over float traces: dewow, background removal, the
// zero-phase Butterworth filters and the envelope. They know nothing of
// profiles or files, so they are tested and measured alone.
//
// Transforms go through FFTW in single precision; the plans of a length
// are made once (FFTW_ESTIMATE) and reused for every trace of that length.
#pragma once

#include <memory>
#include <vector>

namespace quv {

// --- dewow ----------------------------------------------------------------------

// The dewow window in samples for a window of `windowNs` at `dtNs` per
// sample: the odd count nearest to windowNs / dtNs, at least 3.
int dewowWindowSamples(float windowNs, float dtNs);

// From every sample subtracts the mean of the `window` samples centred on
// it (window odd), the window cut to the samples inside the trace at its
// ends. Running sums in double: O(M) whatever the window. `in` and `out`
// may be the same array.
void dewowTrace(const float* in, float* out, int M, int window);

// --- background removal ----------------------------------------------------------

// The mean trace of a line, or of a moving window of traces: trace(k)
// gives the k-th trace's M samples. window <= 0 (or >= 2N) is the whole
// line; otherwise the mean over the `window` traces centred on the trace
// (an even window counts one more), cut at the line ends. Asked for
// traces in ascending order it keeps a running sum (O(M) per trace);
// asked out of order it starts the sum again.
class BackgroundMean {
 public:
  using TraceAt = const float* (*)(const void* context, int trace);
  BackgroundMean(int traces, int samples, int window, TraceAt traceAt, const void* context);
  // The mean that trace i has subtracted.
  const float* meanFor(int i);
  // out = in - meanFor(i).
  void removeFrom(int i, const float* in, float* out);
  bool wholeLine() const { return half_ < 0; }

 private:
  void add(int k, double sign);
  int N_, M_, half_;
  TraceAt traceAt_;
  const void* context_;
  std::vector<double> sum_;
  std::vector<float> mean_;
  int lo_ = 0, hi_ = -1;  // the traces in sum_
  bool ready_ = false;
};

// --- transforms --------------------------------------------------------------------

// The padded transform length for traces of M samples: at least 2M (so a
// filter's response does not wrap round from one trace end onto the other)
// and of the form 2^a 3^b 5^c, which FFTW transforms fastest.
int paddedLength(int M);

// A real forward and inverse transform of one length with its buffers;
// made once per length and kept (see realTransform).
class RealTransform {
 public:
  explicit RealTransform(int length);
  ~RealTransform();
  RealTransform(const RealTransform&) = delete;
  RealTransform& operator=(const RealTransform&) = delete;
  int length() const { return n_; }
  int bins() const { return n_ / 2 + 1; }
  float* data() { return real_; }        // n real values
  float* spectrum() { return complex_; }  // bins() pairs (re, im)
  void forward();  // data -> spectrum
  void inverse();  // spectrum -> data, times n (unnormalised, as FFTW)

 private:
  int n_;
  float* real_ = nullptr;
  float* complex_ = nullptr;
  void* forward_ = nullptr;
  void* inverse_ = nullptr;
};

// The transform of `length`, planned on first use and kept for the
// program's life (one user-interface thread: no locking).
RealTransform& realTransform(int length);
// Destroys every kept transform plan (these and the migration's) and lets
// FFTW release its planner's memory; the module does so when it is unloaded.
void releaseTransformPlans();

// --- zero-phase Butterworth filters --------------------------------------------------

enum class FilterBand { LowPass, HighPass, BandPass };

struct ButterworthFilter {
  FilterBand band = FilterBand::BandPass;
  float lowMHz = 0;   // the high-pass corner (HighPass, BandPass)
  float highMHz = 0;  // the low-pass corner (LowPass, BandPass)
  int order = 4;
  // |H(f)|^2 at f MHz: the power response of the order's Butterworth, the
  // band-pass the product of its high-pass and low-pass parts. Applied as
  // the amplitude factor of each bin it gives the response of the filter
  // run forwards and backwards: zero phase.
  double gain(double fMHz) const;
};

// A filter made for traces of M samples taken `dtNs` apart: the gain of
// every bin of the padded transform worked out once. apply() zero-pads a
// trace to paddedLength(M), transforms it, multiplies each bin by its gain
// and transforms back; `in` and `out` may be the same array.
class TraceFilter {
 public:
  TraceFilter(const ButterworthFilter& filter, int M, float dtNs);
  void apply(const float* in, float* out);

 private:
  int M_;
  RealTransform& fft_;
  std::vector<float> gains_;
};

// --- envelope ------------------------------------------------------------------------

// The magnitude of the analytic signal of one trace: sqrt(x^2 + H{x}^2),
// the Hilbert transform H taken by FFT over the zero-padded trace.
void envelopeTrace(const float* in, float* out, int M);

}  // namespace quv
