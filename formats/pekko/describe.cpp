// The pulseEKKO page of the file header view.
#include "codec.h"
#include "scrivel/describe.h"
#include "scrivel/pekko.h"

namespace scrivel {

void describePekko(const PekkoFHdr* h, Fields& out) {
  if (!h) return;
  auto num = [&](const char* label, long long v) { out.emplace_back(label, formatInt(v)); };
  auto real = [&](const char* label, float v) { out.emplace_back(label, formatFixed(v)); };
  out.emplace_back("Date", h->date);
  num("Number of Traces", h->traces);
  num("Number of Pts/Trc", h->points);
  num("Timezero at Point", h->timeZeroPoint);
  num("Total Time Window", h->timeWindow);
  real("Starting Position", h->startPosition);
  real("Final Position", h->finalPosition);
  real("Step Size Used", h->stepSize);
  out.emplace_back("Position Units", h->positionUnits);
  real("Nominal Frequency", h->frequency);
  real("Antenna Separation", h->antennaSeparation);
  num("Pulser Voltage (V)", h->pulserVoltage);
  num("Number of Stacks", h->stacks);
  out.emplace_back("Survey Mode", h->surveyMode);
  real("Elevation Data Max", h->elevationMax);
  real("Elevation Data Min", h->elevationMin);
}

}  // namespace scrivel
