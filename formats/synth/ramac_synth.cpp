// A synthetic RAMAC recording: the .RAD header and its .RD3 data file.
#include <vector>

#include "dv/file.h"
#include "scrivel/ramac.h"
#include "synth.h"

namespace synth {

int writeRamac(const std::string& path, const LineRecipe& recipe) {
  RamacFHdr h;
  const double dt = recipe.samples > 1 ? recipe.timeWindowNs / (recipe.samples - 1) : 1.0;
  h.samples = recipe.samples;
  h.frequency = (float)(1000.0 / dt);
  h.frequencySteps = 17;
  h.signalPosition = recipe.firstTimeNs;
  h.distanceFlag = 1;
  h.timeInterval = 0.1f;
  h.distanceInterval = recipe.traceSpacingM;
  h.operatorName = "synth";
  h.customer = "DELVAR";
  h.site = "test field";
  h.antennas = "500 MHz shielded";
  h.antennaOrientation = "PERPENDICULAR";
  h.antennaSeparation = 0.18f;
  h.comment = "synthetic line";
  h.timeWindow = recipe.timeWindowNs;
  h.stacks = 4;
  h.stackExponent = 2;
  h.stackingTime = 0.04f;
  h.lastTrace = recipe.traces;
  h.stopPosition = (recipe.traces - 1) * recipe.traceSpacingM;
  h.systemCalibration = 0.0000242453f;
  if (int rc = WriteRamacFHdr(path.c_str(), &h); rc != 0) return rc;

  const std::string rd3 = dv::companionFile(path, "RD3");
  dv::File f;
  if (int rc = CreateFileForWrite(rd3.c_str(), &f); rc != 0) return rc;
  int status = 0;
  std::vector<float> trace((size_t)recipe.samples);
  for (int t = 0; t < recipe.traces; ++t) {
    for (int s = 0; s < recipe.samples; ++s) trace[(size_t)s] = amplitude(recipe, t, s);
    int rc = WriteRamacTrace(rd3.c_str(), &f, &h, t, trace.data());
    if (rc < 0) return rc;
    if (status == 0) status = rc;
  }
  f.close();
  return status;
}

}  // namespace synth
