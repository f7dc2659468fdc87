// A synthetic pulseEKKO recording: the .HD header and its .DT1 data file
// beside it, fiducial comments on marked traces.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "dv/file.h"
#include "scrivel/pekko.h"
#include "synth.h"

namespace synth {

namespace {

void putFloat(uint8_t* p, float v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(u >> (8 * i));
}

}  // namespace

int writePekko(const std::string& path, const LineRecipe& recipe) {
  PekkoFHdr h;
  h.textLines[0] = "1234";
  h.textLines[1] = "Data Collected with DELVAR synthetic survey";
  h.textLineCount = 2;
  h.date = "2024-05-14";
  h.traces = recipe.traces;
  h.points = recipe.samples;
  const double dt = recipe.samples > 1 ? recipe.timeWindowNs / (recipe.samples - 1) : 1.0;
  h.timeZeroPoint = (int)std::lround(1.0 - recipe.firstTimeNs / dt);
  h.timeWindow = (int)std::lround(recipe.timeWindowNs);
  h.startPosition = 0.0f;
  h.finalPosition = (recipe.traces - 1) * recipe.traceSpacingM;
  h.stepSize = recipe.traceSpacingM;
  h.positionUnits = "m";
  h.frequency = 250.0f;
  h.antennaSeparation = 0.38f;
  h.pulserVoltage = 400;
  h.stacks = 16;
  h.surveyMode = "Reflection";
  h.extraLines[0] = "STACKING TYPE      = F1, P16, DynaQ OFF";
  h.extraLineCount = 1;
  if (int rc = WritePekkoFHdr(path.c_str(), &h); rc != 0) return rc;

  const std::string dt1 = dv::companionFile(path, "DT1");
  dv::File f;
  if (int rc = CreateFileForWrite(dt1.c_str(), &f); rc != 0) return rc;
  int status = 0;
  std::vector<float> trace((size_t)recipe.samples);
  int fiducial = 0;
  for (int t = 0; t < recipe.traces; ++t) {
    PekkoTraceHdr th;
    th.points = (float)recipe.samples;
    putFloat(th.bytes4, t * recipe.traceSpacingM);        // position
    putFloat(th.bytes24, (float)h.timeWindow);          // time window
    putFloat(th.bytes24 + 4, (float)h.stacks);          // stacks
    if (recipe.markEvery > 0 && t > 0 && t % recipe.markEvery == 0) {
      th.commentFlag = 1.0f;
      std::snprintf(th.comment, sizeof th.comment, "f%d", ++fiducial);
    }
    for (int s = 0; s < recipe.samples; ++s) trace[(size_t)s] = amplitude(recipe, t, s);
    int rc = WritePekkoTrace(dt1.c_str(), &f, &th, t, trace.data());
    if (rc < 0) return rc;
    if (status == 0) status = rc;
  }
  f.close();
  return status;
}

}  // namespace synth
