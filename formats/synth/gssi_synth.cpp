// A synthetic GSSI recording: one channel, a five-point range gain curve,
// user marks every recipe.markEvery traces, written through the DZT writers.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "dv/file.h"
#include "scrivel/gssi.h"
#include "synth.h"

namespace synth {

namespace {
// GSSI packed date: seconds/2, minutes, hours, day, month, year - 1980.
uint32_t packDate(int y, int mo, int d, int h, int mi, int s) {
  return uint32_t(s / 2) | uint32_t(mi) << 5 | uint32_t(h) << 11 | uint32_t(d) << 16 |
         uint32_t(mo) << 21 | uint32_t(y - 1980) << 25;
}
}  // namespace

int writeGssi(const std::string& path, const LineRecipe& recipe) {
  GssiFHdr* h = nullptr;
  if (int rc = CreateGssiFHdr(&h); rc != 0) return rc;
  const int bits = recipe.bits == 8 || recipe.bits == 32 ? recipe.bits : 16;
  h->NSamp = (uint16_t)recipe.samples;
  h->Bits = (uint16_t)bits;
  h->NChan = 1;
  h->Range = recipe.timeWindowNs;
  h->Position = recipe.firstTimeNs;
  h->SPS = 32.0f;
  h->SPM = recipe.traceSpacingM > 0 ? 1.0f / recipe.traceSpacingM : 0.0f;
  h->MPM = recipe.markEvery > 0 ? recipe.markEvery * recipe.traceSpacingM : 0.0f;
  h->EPSR = 9.0f;
  h->Top = 0.0f;
  h->Depth = recipe.timeWindowNs * 0.3f / std::sqrt(h->EPSR) / 2.0f;
  h->CDT = packDate(2024, 5, 14, 10, 30, 0);
  h->MDT = packDate(2024, 5, 14, 10, 42, 10);
  h->EndX = (uint16_t)std::lround(recipe.traces * recipe.traceSpacingM);
  std::strncpy(h->AntName, "400MHz", sizeof h->AntName);
  std::strncpy(h->Name, "SYNTH001", sizeof h->Name);
  static const float kGain[] = {0.0f, 3.0f, 6.0f, 9.0f, 11.0f};
  h->rangeGainCount = 5;
  h->rangeGain = static_cast<float*>(std::malloc(sizeof kGain));
  std::memcpy(h->rangeGain, kGain, sizeof kGain);
  std::free(h->text);
  h->text = strdup("Synthetic line: three reflectors, three point targets");
  static const char kHistory[] = "RANGE GAIN 5 PTS;BACKGROUND OFF";
  h->historySize = sizeof kHistory;
  h->history = static_cast<uint8_t*>(std::malloc(sizeof kHistory));
  std::memcpy(h->history, kHistory, sizeof kHistory);

  int status = WriteGssiFHdr(path.c_str(), h);
  if (status < 0) {
    CleanupGssiFHdr(h);
    return status;
  }
  dv::File f;
  if (int rc = OpenFileForWrite(path.c_str(), &f); rc != 0) {
    CleanupGssiFHdr(h);
    return rc;
  }
  // The section's amplitudes fill most of the 8-bit range too.
  const float scale = bits == 8 ? 100.0f / 20000.0f : 1.0f;
  std::vector<float> trace((size_t)recipe.samples);
  for (int t = 0; t < recipe.traces; ++t) {
    for (int s = 0; s < recipe.samples; ++s) trace[(size_t)s] = scale * amplitude(recipe, t, s);
    const int mark = recipe.markEvery > 0 && t > 0 && t % recipe.markEvery == 0;
    int rc = WriteGssiTrace(path.c_str(), &f, h, t, mark, trace.data());
    if (rc < 0) {
      CleanupGssiFHdr(h);
      return rc;
    }
    if (status == 0) status = rc;
  }
  f.close();
  CleanupGssiFHdr(h);
  return status;
}

}  // namespace synth
