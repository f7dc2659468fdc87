// Synthetic recordings: a realistic radar line in each of the five formats,
// written through the library's own writers. A few dipping layers and
// diffraction hyperbolas, a direct wave, noise, user marks every so many
// traces, sensible header values and coordinates.
#pragma once

#include <string>

namespace synth {

struct LineRecipe {
  int traces = 400;
  int samples = 512;          // per trace
  float timeWindowNs = 100.f;  // total time window
  float firstTimeNs = 0.f;
  float traceSpacingM = 0.05f;
  int markEvery = 50;  // user mark every this many traces (0 = none)
  int bits = 16;       // GSSI: 8 or 16; SEG-2: code; SEG-Y: code chosen by the writer
  unsigned seed = 1;
};

// The amplitude of sample s of trace t (shared by every format writer so all
// five recordings show the same section). Roughly within +-20000.
float amplitude(const LineRecipe& recipe, int trace, int sample);

// Each writes the recording (and its companion data file) and returns 0 or
// the library's status code. Paths are of the header file.
int writeGssi(const std::string& path, const LineRecipe& recipe);   // .DZT
int writePekko(const std::string& path, const LineRecipe& recipe);  // .HD + .DT1
int writeRamac(const std::string& path, const LineRecipe& recipe);  // .RAD + .RD3
int writeSeg2(const std::string& path, const LineRecipe& recipe);   // .SG2
int writeSegy(const std::string& path, const LineRecipe& recipe);   // .SGY
// A GPS sidecar of the recipe's traces (".GPS", beside a .HD of the same name).
int writePekkoGps(const std::string& path, const LineRecipe& recipe);

}  // namespace synth
