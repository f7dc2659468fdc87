// The rules of Create Profile that need no project: default and cleaned
// names, the name check, RAMAC DC removal, the amplitude range, the straight
// line from each format's header, and the display settings that follow the
// geometry.
#include <strings.h>

#include <cmath>
#include <cstdio>

#include "project/units.h"
#include "project/display_settings.h"
#include "dv/file.h"
#include "processing/create_profile.h"
#include "project/defaults_file.h"
#include "project/profile.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"
#include "project/messages.h"

namespace quv {

// --- names ------------------------------------------------------------------------

std::string defaultProfileName(const std::string& rawName) {
  size_t dot = rawName.rfind('.');
  if (dot == std::string::npos || dot == 0) return rawName;
  return rawName.substr(0, dot);
}

static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string cleanProfileName(const std::string& typed) {
  size_t b = 0, e = typed.size();
  while (b < e && isBlank(typed[b])) ++b;
  while (e > b && isBlank(typed[e - 1])) --e;
  std::string out;
  for (size_t i = b; i < e; ++i)
    if (typed[i] != '"' && typed[i] != ',') out += typed[i];
  return out;
}

static std::string format(const char* text, const std::string& name) {
  std::vector<char> buf(name.size() + 128);
  std::snprintf(buf.data(), buf.size(), text, name.c_str());
  return buf.data();
}

std::string checkProfileNames(const std::vector<std::string>& typed,
                              const std::vector<std::string>& existing,
                              std::vector<std::string>* cleaned) {
  return checkProfileNames(typed, existing, cleaned, ProfileNameTexts{});
}

std::string checkProfileNames(const std::vector<std::string>& typed,
                              const std::vector<std::string>& existing,
                              std::vector<std::string>* cleaned, const ProfileNameTexts& texts,
                              bool* blankRefused) {
  if (blankRefused) *blankRefused = false;
  std::vector<std::string> names;
  for (const std::string& t : typed) {
    std::string name = cleanProfileName(t);
    if (name.empty()) {
      if (blankRefused) *blankRefused = true;
      return texts.blank;
    }
    // Every file of the profile is named from it inside the project folder.
    if (!dv::isSafeFileName(name) || !dv::isSafeFileName(headerFileName(0, 1, name + ".QUV")))
      return format(kMsgProfileNameNotAFileName, name);
    for (const std::string& e : existing)
      if (strcasecmp(e.c_str(), name.c_str()) == 0)
        return format(texts.used, e);
    // Two rows of one batch would write the same files.
    for (const std::string& earlier : names)
      if (strcasecmp(earlier.c_str(), name.c_str()) == 0)
        return format(texts.used, earlier);
    names.push_back(name);
  }
  if (cleaned) *cleaned = std::move(names);
  return "";
}

// --- samples ------------------------------------------------------------------------

void removeDcLevel(float* samples, int n) {
  const int tail = n / 4;
  if (!samples || tail <= 0) return;
  double sum = 0;
  for (int i = n - tail; i < n; ++i) sum += samples[i];
  const float mean = static_cast<float>(sum / tail);
  for (int i = 0; i < n; ++i) samples[i] -= mean;
}

void AmplitudeRange::take(const float* samples, int n) {
  for (int i = 0; i < n; ++i) {
    const float x = samples[i];
    if (std::isnan(x)) continue;
    if (!any) {
      minimum = maximum = x;
      any = true;
    } else if (x < minimum) {
      minimum = x;
    } else if (x > maximum) {
      maximum = x;
    }
  }
}

// --- the straight line ------------------------------------------------------------

static bool allZero(const StraightLine& l) {
  return l.startEasting == 0 && l.startNorthing == 0 && l.endEasting == 0 && l.endNorthing == 0;
}

StraightLine deriveStraightLine(int format, const void* header, int traces) {
  StraightLine l;
  const float last = static_cast<float>(traces > 0 ? traces - 1 : 0);
  switch (header ? format : -1) {
    case 0: {
      const auto* h = static_cast<const GssiFHdr*>(header);
      l.startEasting = h->StartX, l.startNorthing = h->StartY;
      l.endEasting = h->EndX, l.endNorthing = h->EndY;
      const float spu = h->SPM;
      if (allZero(l) && spu != 0 && std::isfinite(spu)) l.endEasting = last / spu;
      break;
    }
    case 1: {
      const auto* h = static_cast<const PekkoFHdr*>(header);
      l.startEasting = h->startPosition;
      l.endEasting = h->finalPosition;
      if (h->positionUnits == "FEET" || h->positionUnits == "feet") l.unitsPerFoot = kUnitsPerFootFt;
      break;
    }
    case 2: {
      const auto* h = static_cast<const RamacFHdr*>(header);
      l.endEasting = last * h->distanceInterval;
      break;
    }
    case 3: {
      const auto* h = static_cast<const Seg2FHdr*>(header);
      const std::string units = h->units ? h->units : "";
      if (units == " FEET" || units == "FEET" || units == " feet" || units == "feet")
        l.unitsPerFoot = kUnitsPerFootFt;
      break;
    }
    case 4: {
      const auto* h = static_cast<const SegyFHdr*>(header);
      if (h->measurementSystem == 2) l.unitsPerFoot = kUnitsPerFootFt;
      break;
    }
  }
  // A header value that is not a number would spread into every coordinate.
  for (float* v : {&l.startEasting, &l.startNorthing, &l.endEasting, &l.endNorthing})
    if (!std::isfinite(*v)) *v = 0;
  if (allZero(l)) l.endEasting = last;  // the geometry then counts traces
  return l;
}

void interpolateLine(const StraightLine& l, int traces, std::vector<float>& easting,
                     std::vector<float>& northing) {
  const size_t n = static_cast<size_t>(std::max(traces, 0));
  easting.assign(n, l.startEasting);
  northing.assign(n, l.startNorthing);
  if (n < 2) return;  // a single trace lies at the start point
  const float dE = l.endEasting - l.startEasting, dN = l.endNorthing - l.startNorthing;
  const float span = static_cast<float>(n - 1);
  for (size_t i = 0; i < n; ++i) {
    easting[i] = l.startEasting + dE * static_cast<float>(i) / span;
    northing[i] = l.startNorthing + dN * static_cast<float>(i) / span;
  }
}

// --- display settings after the geometry dialog ------------------------------------

void adjustNewVersionSettings(ProfileVersion& v, const ProfileHeader& h,
                              const DefaultsValues* defaults) {
  const float u = h.unitsPerFoot;
  const bool metric = isMetric(u);
  if (metric) {
    v.normal.velocity *= kCreateProfileVelocityFactor;
    v.presentation.velocity *= kCreateProfileVelocityFactor;
  }
  if (!defaults) return;
  PageElement& box = v.presentation.elements[kTracesBox];
  // A scale of 0 (or a unit factor of 0) leaves the box as the defaults set it.
  if (defaults->horizontalUse == 2 && h.nodeCount() == 2 && defaults->horizontalScale > 0 &&
      u > 0) {
    const double dE = double(h.nodeEasting[1]) - h.nodeEasting[0];
    const double dN = double(h.nodeNorthing[1]) - h.nodeNorthing[0];
    const double inches = std::sqrt(dE * dE + dN * dN) / u * kInchesPerFoot / defaults->horizontalScale;
    if (std::isfinite(inches)) box.right = static_cast<float>(box.left + inches);
  }
  if (defaults->verticalUse == 2 && defaults->depthScale > 0) {
    const double k = metric ? kInchesPerMetre : kInchesPerFoot;
    const double inches = double(v.samples) * v.presentation.velocity * v.timeIncrement * k /
                          defaults->depthScale;
    if (std::isfinite(inches)) box.top = static_cast<float>(box.bottom - inches);
  }
}

}  // namespace quv
