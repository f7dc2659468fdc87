// The radar section every synthetic recording shows: a direct (air/ground)
// wave, three gently dipping and undulating reflectors, three diffraction
// hyperbolas from buried point objects, attenuation with time and a little
// noise. Amplitudes are a pure function of (recipe, trace, sample), so every
// format writer can produce the traces in any order and two recordings of
// the same recipe in different formats hold the same section.
#include <cmath>
#include <cstdint>

#include "synth.h"

namespace synth {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Ricker wavelet of peak frequency f (GHz) at time offset tau (ns); zero
// outside a few periods so far-off events cost nothing.
double ricker(double tau, double f) {
  double a = kPi * f * tau;
  double a2 = a * a;
  if (a2 > 30.0) return 0.0;
  return (1.0 - 2.0 * a2) * std::exp(-a2);
}

// Deterministic noise in [-1, 1] from the seed and the sample's place.
double noise(unsigned seed, int trace, int sample) {
  uint64_t h = (uint64_t)seed * 0x9E3779B97F4A7C15ull;
  h ^= (uint64_t)(uint32_t)trace * 0xC2B2AE3D27D4EB4Full;
  h ^= (uint64_t)(uint32_t)sample * 0x165667B19E3779F9ull;
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return (double)(h >> 11) / (double)(1ull << 52) - 1.0;
}

}  // namespace

float amplitude(const LineRecipe& recipe, int trace, int sample) {
  const double window = recipe.timeWindowNs > 0 ? recipe.timeWindowNs : 100.0;
  const double dt = recipe.samples > 1 ? window / (recipe.samples - 1) : window;
  const double t = recipe.firstTimeNs + sample * dt;
  const double x = trace * (double)recipe.traceSpacingM;
  const double length = recipe.traces * (double)recipe.traceSpacingM;
  // Wavelet: about 30 periods fit the window whatever its length.
  const double f = 30.0 / window;
  const double period = 1.0 / f;
  // Seed-dependent variation of the geometry, small enough to keep it tidy.
  const double jitter = noise(recipe.seed, -1, -1) * 0.05;

  double a = 0.0;
  // Direct wave shortly after time zero.
  a += 16000.0 * ricker(t - 1.5 * period, f);

  // Reflectors: start time, dip (fraction of the window over the line),
  // undulation, amplitude and polarity.
  struct Layer {
    double t0, dip, wave, amp;
  };
  const Layer layers[] = {
      {0.22, 0.06, 0.010, 7000.0},
      {0.45, -0.10, 0.015, -5500.0},
      {0.70, 0.04, 0.020, 4000.0},
  };
  const double along = length > 0 ? x / length : 0.0;
  for (const Layer& l : layers) {
    double tl = window * (l.t0 + jitter + l.dip * along +
                          l.wave * std::sin(2.0 * kPi * (3.0 * along + l.t0)));
    a += l.amp * ricker(t - tl, f);
  }

  // Point diffractors: position along the line, apex time (fraction of the
  // window), amplitude. Velocity 0.1 m/ns, two-way.
  struct Point {
    double x, t0, amp;
  };
  const Point points[] = {{0.25, 0.30, 6000.0}, {0.55, 0.38, -4500.0}, {0.80, 0.55, 5000.0}};
  const double v = 0.1;
  for (const Point& p : points) {
    double dx = x - p.x * length;
    double ta = window * p.t0;
    double th = std::sqrt(ta * ta + (2.0 * dx / v) * (2.0 * dx / v));
    // Amplitude falls off along the flanks of the hyperbola.
    a += p.amp * (ta / th) * ricker(t - th, f);
  }

  // Attenuation with time (the direct wave is left strong) and noise.
  double decay = std::exp(-std::fmax(t, 0.0) / (0.8 * window));
  a *= decay;
  a += 120.0 * noise(recipe.seed, trace, sample);
  return (float)a;
}

}  // namespace synth
