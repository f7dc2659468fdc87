// The numerics of the steps that work on a whole section rather than trace
// by trace: the first-break pick for time zero, Stolt F-K migration at a
// constant velocity and the velocity of a diffraction hyperbola by
// semblance. Plain functions over a section of N traces of M samples held
// trace after trace (sample j of trace i at [i * M + j]); they know nothing
// of profiles or files.
//
// Times are two-way times in ns, distances in the profile's units and
// velocities in those units per ns.
#pragma once

#include <vector>

namespace quv {

// --- time zero from the first break -----------------------------------------------------

// The mean of |sample| over N traces of M samples, sample by sample;
// trace(context, i) gives the i-th trace (nullptr: a trace of zeros).
using SectionTrace = const float* (*)(const void* context, int trace);
std::vector<float> meanAbsoluteTrace(int N, int M, SectionTrace trace, const void* context);
// The first sample of `trace` above `fraction` of its largest value; -1
// when it holds nothing above 0.
int firstBreakSample(const std::vector<float>& trace, float fraction);

// --- Stolt migration ----------------------------------------------------------------------

// The trace spacing of a line from its geometry nodes (trace, easting,
// northing): the distance per trace of its segments when every segment's
// lies within 1 % of the line's mean (a straight line has one segment);
// 0 when the traces lie on one point or there are fewer than two nodes;
// -1 when the segments space their traces unevenly (`least` and `most`
// then hold the closest and widest spacing).
double evenTraceSpacing(const std::vector<int>& nodeTrace, const std::vector<float>& easting,
                        const std::vector<float>& northing, double* least = nullptr,
                        double* most = nullptr);

// The traces the migrated section is padded to: N plus the migration's
// reach v * tmax / 2 on the ground (at most N more) and a few traces, so
// that what migration spreads past one line end does not wrap round onto
// the other; of the form 2^a 3^b 5^c.
int migrationPaddedTraces(int N, int M, float dx, float dt, float v);
// The floats of the transform's work array for N x M (what the caller
// checks against the memory it will spend).
long long migrationWorkFloats(int N, int M, float dx, float dt, float v);

// Stolt F-K migration of the section in place, sample 0 at time zero, the
// traces `dx` apart, `dt` ns a sample, at velocity `v` (exploding
// reflector: the wave field runs at v / 2 in two-way time). The section is
// zero-padded to migrationPaddedTraces() traces and paddedLength(M)
// samples, transformed in two dimensions (FFTW, single precision), mapped
// from frequency w to the frequency W of vertical time by
// w = sqrt(W^2 + (v kx / 2)^2) with linear interpolation between the
// frequency bins and the Jacobian dw/dW = W / w as amplitude factor
// (nothing from beyond the Nyquist frequency or the evanescent region),
// and transformed back. The output keeps two-way vertical time, so depth
// conversion at the same velocity follows. False (the section untouched)
// for sizes or spacings it cannot work with.
bool stoltMigrate(float* section, int N, int M, float dx, float dt, float v);

// Destroys the two-dimensional plans kept for the sizes migrated so far.
void releaseMigrationPlans();

// --- velocity from a diffraction hyperbola -------------------------------------------------

struct HyperbolaFit {
  float velocity = 0;   // best fit, 0 when none was found
  float semblance = 0;  // at the best fit, 0..1
  float apexTime = 0;   // the apex time the fit took (ns)
};

// The two-way time of the hyperbola of apex (x0, t0) at x for velocity v:
// sqrt(t0^2 + 4 (x - x0)^2 / v^2).
double hyperbolaTime(double t0, double dxFromApex, double v);

// The velocity in [vMin, vMax] whose hyperbola through the apex (trace
// `apexTrace`, time `apexTime` ns after sample 0) best fits the section:
// the semblance of the samples along the hyperbola (linearly interpolated)
// over the traces within `halfWidth` of the apex and a window of
// `windowSamples` around it, scanned over the range in 1 % steps and refined
// by golden-section search around the best step. A click seldom hits the
// apex to the sample: the apex time taken is that of the largest |amplitude|
// of the apex trace within `apexSearch` samples of the given one.
HyperbolaFit fitHyperbola(const float* section, int N, int M, float dx, float dt, int apexTrace,
                          float apexTime, float vMin, float vMax, int halfWidth = 40,
                          int windowSamples = 5, int apexSearch = 3);

}  // namespace quv
