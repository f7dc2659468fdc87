// Gain: every trace of a profile version turned into a byte trace, one
// unsigned byte per sample with 128 as zero amplitude, 0 the most negative
// and 255 the most positive clipped value. The five gain types, the byte
// encoding, and the lazy, incremental building of a version's normal or
// presentation byte-trace table with its progress window.
//
// Arithmetic, so that every way of building gives the same bytes:
//  - Trace Max., File Max., Constant and Spherical/Exponential gain a sample
//    x by one float factor k (per trace, or per sample for the spherical
//    curve): g = x * k in single precision, with k = 127 / m (m the largest
//    absolute sample of the trace, g = 0 when m is 0), k = F, k = c * F, and
//    k[j] = F * (V * t[j]) * exp(a * V * t[j]) evaluated in double and
//    rounded to float once per build.
//  - A. G. C. keeps its running window sum S of absolute samples in double
//    (a sample that is not finite adds 0); the gain itself is single
//    precision like the others: g = x * (W * 127) / S with S rounded to
//    float, g = x * 127 when that is 0.
//  - The byte is 255 above 127, 0 below -128, otherwise g + 128 truncated
//    (the sum in the precision of g); a NaN gained value is zero amplitude.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "project/display_settings.h"

namespace quv {

struct ProfileVersion;

enum GainType {
  kGainTraceMax = 0,
  kGainFileMax = 1,
  kGainConstant = 2,
  kGainAgc = 3,
  kGainSpherical = 4,
  kGainTypeCount = 5,
};

// "Trace Max.", "File Max.", "Constant", "A. G. C.", "Spherical/Exponential";
// "" for a value outside the table.
const char* gainTypeName(int type);

constexpr uint8_t kZeroAmplitude = 128;

// The byte of a gained value g: 255 above 127, 0 below -128, otherwise
// g + 128 truncated, the sum taken in the precision of g; a NaN is zero
// amplitude. So 127 and 127.5 give 255, -128 and -127.9 give 0, 0 gives 128.
inline uint8_t encodeGained(float g) {
  if (g > 127.0f) return 255;
  if (g >= -128.0f) return static_cast<uint8_t>(static_cast<int>(g + 128.0f));
  if (g < -128.0f) return 0;
  return kZeroAmplitude;
}
inline uint8_t encodeGained(double g) {
  if (g > 127.0) return 255;
  if (g >= -128.0) return static_cast<uint8_t>(static_cast<int>(g + 128.0));
  if (g < -128.0) return 0;
  return kZeroAmplitude;
}

// The gain fields of a display settings record and the profile's file scale factor.
struct GainSettings {
  int type = kGainAgc;
  float constant = 1.0f;
  float agcWindow = 25.0f;  // percent of the trace length
  float sphericalV = 0.15f;
  float sphericalA = 0.01f;
  float fileScale = 1.0f;  // F: maps the profile's largest absolute amplitude to 127
};
GainSettings gainSettings(const DisplaySettings& s, float fileScale);

// A. G. C. window of a trace of n samples: W = n * percent / 100 truncated,
// kept within 0..n; the window covers the first W samples for the first h1
// samples, slides one sample per step (samples j-h1+1 .. j+h2) and stays on
// the last W samples at the end.
struct AgcWindow {
  int length = 0;  // W
  int h1 = 0;      // (W + 1) / 2
  int h2 = 0;      // W / 2
};
AgcWindow agcWindow(int samples, float percent);

// A gain made ready for traces of `samples` samples. `times` holds the
// two-way time of every sample (only the spherical gain reads it; nullptr
// counts as all 0). An unknown gain type is taken as A. G. C., the default.
class TraceGain {
 public:
  TraceGain(const GainSettings& settings, int samples, const float* times);

  int samples() const { return samples_; }
  int type() const { return type_; }

  // One trace: `samples` values in, `samples` bytes out.
  void apply(const float* x, uint8_t* out) const;
  // Several traces: the same bytes as one by one, with the A. G. C. running
  // sums of the traces advancing side by side.
  void apply(const float* const* x, uint8_t* const* out, int count) const;

  // Traces handled together by the batch form (a building loop takes this many at a time).
  static constexpr int kBatch = 8;

 private:
  void applyAgc(const float* const* x, uint8_t* const* out, int count) const;

  int type_ = kGainAgc;
  int samples_ = 0;
  float factor_ = 1.0f;       // File Max., Constant
  std::vector<float> curve_;  // Spherical/Exponential, per sample
  AgcWindow window_;
  mutable std::vector<double> mags_;  // A. G. C. scratch of a batch: magnitudes,
  mutable std::vector<float> sums_;   // window sums
};

// Progress of a build: the progress window of the framework in the module,
// anything a test or a benchmark likes elsewhere.
class GainProgress {
 public:
  virtual ~GainProgress() = default;
  virtual void open(const char* title) = 0;
  virtual void update(const char* text, int percent) = 0;
  virtual void close() = 0;
  // True once the user asked the build to stop (it leaves the rest unbuilt).
  virtual bool cancelled() { return false; }
};
// The framework's CreateProgress / SetProgress / DestroyProgress with the wait cursor.
GainProgress& frameworkProgress();

constexpr const char* kGainProgressTitle = "Applying gain and building image";

// Builds the missing byte traces of the normal (presentation false) or
// presentation table with that display's record: flags the traces whose
// byte trace is missing, has the profile load their samples, then gains
// them over the cores, reporting "Trace %i of %i" (counting the traces
// built) and i * 100 / count to `progress` (nullptr: none) at every 10th
// trace. Traces already built are left alone and kept, so a paint after a
// scroll back costs nothing. While the version is open for display the
// samples loaded for this build are released again. A cancelled build
// leaves the traces it built whole and the others missing. True when every
// trace asked for is built.
bool buildByteTraces(ProfileVersion& v, bool presentation, GainProgress* progress);
// The same for the traces listed only (any order; repeats and numbers
// outside the table are left out): what a drawing reads.
bool buildByteTraces(ProfileVersion& v, bool presentation, const std::vector<int>& traces,
                     GainProgress* progress);
// A build of more than kProgressTraces traces or kProgressSamples samples
// (an export or print of a long stretch, wiggles of thousands of traces)
// is large: one a user waits for. Drawing a view on the screen is not.
constexpr int64_t kProgressTraces = 4096;
constexpr int64_t kProgressSamples = int64_t(1) << 24;
bool largeByteTraceBuild(int64_t traces, int samples);
// The listed traces with the framework's progress window when showProgress
// and the build is large, otherwise without.
bool buildByteTraces(ProfileVersion& v, bool presentation, const std::vector<int>& traces, bool showProgress);
// Every missing trace with the framework's progress window or none.
void buildByteTraces(ProfileVersion& v, bool presentation, bool showProgress);
// Frees every byte trace of the table (after a change of gain, palette or
// zoom, Set Time Zero, Load User Palette, a reload).
void discardByteTraces(ProfileVersion& v, bool presentation);
// Tells the profile that the displays build byte traces as they draw, so
// opening a version for display loads and builds nothing.
void installByteTraceBuilder();

}  // namespace quv
