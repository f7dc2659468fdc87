// The RAMAC page of the file header view: the 25 keywords in record order.
#include "codec.h"
#include "scrivel/describe.h"
#include "scrivel/ramac.h"

namespace scrivel {

void describeRamac(const RamacFHdr* h, Fields& out) {
  if (!h) return;
  auto num = [&](const char* label, long long v) { out.emplace_back(label, formatInt(v)); };
  auto real = [&](const char* label, float v) { out.emplace_back(label, formatFixed(v)); };
  auto text = [&](const char* label, const std::string& v) { out.emplace_back(label, v); };
  num("Samples", h->samples);
  real("Frequency", h->frequency);
  num("Frequency Steps", h->frequencySteps);
  real("Signal Position", h->signalPosition);
  num("Raw Signal Position", h->rawSignalPosition);
  num("Distance Flag", h->distanceFlag);
  num("Time Flag", h->timeFlag);
  num("Program Flag", h->programFlag);
  num("External Flag", h->externalFlag);
  real("Time Interval", h->timeInterval);
  real("Distance Interval", h->distanceInterval);
  text("Operator", h->operatorName);
  text("Customer", h->customer);
  text("Site", h->site);
  text("Antennas", h->antennas);
  text("Antenna Orientation", h->antennaOrientation);
  real("Antenna Separation", h->antennaSeparation);
  text("Comment", h->comment);
  real("Timewindow", h->timeWindow);
  num("Stacks", h->stacks);
  num("Stack Exponent", h->stackExponent);
  real("Stacking Time", h->stackingTime);
  num("Last Trace", h->lastTrace);
  real("Stop Position", h->stopPosition);
  real("System Calibration", h->systemCalibration);
}

}  // namespace scrivel
