// The raw data window's own gain stage: three fixed gains (Trace Max,
// A. G. C. over a tenth and over a quarter of the trace) applied to the
// samples of a recording after removing its DC offset. RAMAC receivers
// record a DC level, so for RAMAC data the offset is the mean of the last
// quarter of the trace (where the signal has died away); other instruments
// record around zero and get no offset. The gained values are encoded as
// the profile displays encode theirs (128 zero amplitude, 0 and 255 the
// clipped ends).
//
// Arithmetic in double throughout; a sample that is not finite counts as 0
// in the offset, the trace maximum and the window sums, and gains to zero
// amplitude itself.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace quv {

class GainProgress;

enum RawGainType {
  kRawGainTraceMax = 0,  // "Trace Max"
  kRawGainAgc10 = 1,     // "AGC 10%"
  kRawGainAgc25 = 2,     // "AGC 25%"
};

// The DC offset b of a trace of n samples of a recording of `format`
// (0 GSSI, 1 pulseEKKO, 2 RAMAC, 3 SEG-2, 4 SEG-Y): for RAMAC the mean of
// samples n - n/4 .. n-1 (n/4 in integer division; 0 when that is 0),
// otherwise 0.
double rawDcOffset(const float* x, int n, int format);

// The A. G. C. window of a raw gain: W = n/10 (AGC 10%) or n/4 (AGC 25%),
// h1 = (W + 1)/2, h2 = W/2; all 0 for Trace Max.
struct RawAgcWindow {
  int length = 0;
  int h1 = 0;
  int h2 = 0;
};
RawAgcWindow rawAgcWindow(int samples, int gain);

// One trace of n samples into n bytes with the raw gain `gain` (values
// other than 1 and 2 gain as Trace Max):
//  Trace Max: m = largest |x| (the raw values, the offset not removed);
//             g = (x[j] - b) * 127 / m, 0 when m is 0.
//  A. G. C.:  S = sum of |x[k] - b| over the first W samples; for j >= h1
//             and j < n - h2 the window slides, S += |x[j+h2] - b| - |x[j-h1] - b|;
//             g = (x[j] - b) * W * 127 / S, 0 when S is 0 (all samples of
//             the window equal to the offset).
void rawGainTrace(const float* x, int n, int gain, int format, uint8_t* out);

// Builds the byte trace of every trace that has none yet; `samples` holds
// one pointer per trace (null: no samples could be had, zero amplitude) and
// `bytes` is sized to match. With `progress`, the
// window "Applying gain and building image" reports "Trace %i of %i" and
// i * 100 / T at every 10th trace.
void buildRawByteTraces(const std::vector<const float*>& samples, int n, int gain, int format,
                        std::vector<std::unique_ptr<uint8_t[]>>& bytes, GainProgress* progress);

}  // namespace quv
