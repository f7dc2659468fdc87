// The walk of rubber sheeting along the marker polyline, the mixing of the
// raw traces around each output trace, and the worker that writes the new
// profile of one raw item.
#include "processing/rubber_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "dv/ui.h"
#include "processing/create_profile.h"
#include "processing/positions.h"
#include "processing/raw_trace_cursor.h"
#include "project/resources.h"
#include "project/messages.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/tree_items.h"

namespace quv {

namespace {

template <typename... Args>
std::string line(const char* format, Args... args) {
  char buf[512];
  std::snprintf(buf, sizeof buf, format, args...);
  return buf;
}

double distance(double e0, double n0, double e1, double n1) { return std::hypot(e1 - e0, n1 - n0); }

// The polyline the walk follows: the markers, the first moved back to raw
// trace 0 and the last on to the last raw trace along their segments.
struct Polyline {
  std::vector<double> e, n, length, ue, un;  // points; per segment its length and direction
  std::vector<int> trace;                     // raw trace of each point
  int segments() const { return (int)length.size(); }
};

Polyline extend(const std::vector<Marker>& m, int rawTraces) {
  Polyline p;
  const size_t R = m.size();
  for (const Marker& k : m) {
    p.e.push_back(k.easting);
    p.n.push_back(k.northing);
    p.trace.push_back(k.trace);
  }
  auto along = [&](size_t a, size_t b, double traces, double& e, double& n) {
    const double dt = double(m[b].trace) - m[a].trace;
    e += traces * (m[b].easting - m[a].easting) / dt;
    n += traces * (m[b].northing - m[a].northing) / dt;
  };
  along(0, 1, -double(m[0].trace), p.e[0], p.n[0]);
  p.trace[0] = 0;
  along(R - 2, R - 1, double(rawTraces - 1 - m[R - 1].trace), p.e[R - 1], p.n[R - 1]);
  p.trace[R - 1] = rawTraces - 1;
  for (size_t k = 0; k + 1 < R; ++k) {
    const double L = distance(p.e[k], p.n[k], p.e[k + 1], p.n[k + 1]);
    p.length.push_back(L);
    p.ue.push_back(L > 0 ? (p.e[k + 1] - p.e[k]) / L : 0);
    p.un.push_back(L > 0 ? (p.n[k + 1] - p.n[k]) / L : 0);
  }
  return p;
}

}  // namespace

RubberSheetPlan planRubberSheet(std::vector<Marker> markers, int rawTraces, int samples,
                                const std::string& rawName) {
  RubberSheetPlan plan;
  const char* name = rawName.c_str();
  if (markers.size() < 3) {
    plan.refusal = line(kMsgBatchErrorFewerThan3Markers, name);
    return plan;
  }
  sortMarkers(markers);
  for (size_t k = 0; k < markers.size(); ++k) {
    const Marker& m = markers[k];
    if (m.trace < 0 || m.trace >= rawTraces) {
      plan.refusal = line(kMsgErrorRubberSheetMarkerOutside, name, m.trace + 1, rawTraces);
      return plan;
    }
    if (k > 0 && markers[k - 1].trace == m.trace) {
      plan.refusal = line(kMsgErrorRubberSheetSameTrace, name, m.trace + 1);
      return plan;
    }
  }
  // Step 4: the segments and the mean spacing.
  double sum = 0;
  const size_t S = markers.size() - 1;
  for (size_t k = 0; k < S; ++k) {
    const Marker &a = markers[k], &b = markers[k + 1];
    const double L = distance(a.easting, a.northing, b.easting, b.northing);
    // A blank or unreadable coordinate gives no length either.
    if (!(L > 0) || !std::isfinite(L) || isBlankMarker(a) || isBlankMarker(b)) {
      plan.refusal = line(kMsgErrorRubberSheetZeroSegment, name, a.trace + 1, b.trace + 1);
      return plan;
    }
    sum += L / (double(b.trace) - a.trace);
  }
  const double dx = sum / double(S);
  plan.dx = dx;
  // Step 5: the extended polyline. Its length bounds the output traces.
  const Polyline p = extend(markers, rawTraces);
  double total = 0;
  for (double L : p.length) total += L;
  const double estimate = total / dx + double(S) + 2;
  // The plan holds a place per output trace: they must fit in memory too.
  const double memory = double(availableMemoryBytes());
  if (!(estimate <= double(kMaxProfileTraces)) ||
      (memory >= 0 && !(estimate * double(sizeof(RubberSheetTrace)) <= memory))) {
    plan.refusal = line(kMsgErrorRubberSheetTooManyTraces, name, estimate, samples);
    return plan;
  }
  // Step 6: k0 whole spacings before the first marker, along the first
  // segment from the extended start.
  const double lead = distance(p.e[0], p.n[0], markers[0].easting, markers[0].northing);
  const double eps = dx * 1e-9;
  const int k0 = (int)std::floor(lead / dx + 1e-9);
  plan.firstMarkerTrace = k0;

  // Step 7: the walk; step 8's raw trace and fraction of each place.
  int m = 0;
  double d = std::max(lead - k0 * dx, 0.0);
  auto emit = [&]() {
    RubberSheetTrace t;
    t.easting = p.e[(size_t)m] + d * p.ue[(size_t)m];
    t.northing = p.n[(size_t)m] + d * p.un[(size_t)m];
    const double o = d * (p.trace[(size_t)m + 1] - p.trace[(size_t)m]) / p.length[(size_t)m];
    const double whole = std::floor(o);
    t.source = p.trace[(size_t)m] + (int)whole;
    t.f = o - whole;
    // Only existing raw traces are read: the end of the recording is its
    // last trace.
    if (t.source >= rawTraces - 1) t.source = rawTraces - 1, t.f = 0;
    if (t.source < 0) t.source = 0, t.f = 0;
    plan.traces.push_back(t);
  };
  // The output traces where the markers lie, found as the walk passes them.
  const int R = (int)markers.size();
  std::vector<int> at((size_t)R, -1);
  at[0] = k0;
  int firstOnLast = -1;  // the first output trace on the last segment, and its place
  double dFirstOnLast = 0;
  const int last = p.segments() - 1;
  auto place = [&]() {
    if (m == last && firstOnLast < 0) firstOnLast = (int)plan.traces.size(), dFirstOnLast = d;
    emit();
  };
  place();
  for (;;) {
    if (d + dx <= p.length[(size_t)m] + eps) {
      d += dx;
      place();
      continue;
    }
    if (m >= last) break;
    // The corner at point m + 1: the next trace lies dx from the current
    // one in a straight line, on the outgoing segment.
    const double r = std::max(p.length[(size_t)m] - d, 0.0);
    const double a = p.length[(size_t)m], b = p.length[(size_t)m + 1];
    const double c = distance(p.e[(size_t)m], p.n[(size_t)m], p.e[(size_t)m + 2], p.n[(size_t)m + 2]);
    const double cosTheta = std::clamp((a * a + b * b - c * c) / (2 * a * b), -1.0, 1.0);
    const double sin2 = 1 - cosTheta * cosTheta;
    double s = r * cosTheta + std::sqrt(std::max(dx * dx - r * r * sin2, 0.0));
    const int from = m, before = (int)plan.traces.size() - 1;
    const bool nearerBefore = r <= s;
    ++m;
    // Corners closer together than dx: the rest of the step runs on along
    // the polyline.
    while (s > p.length[(size_t)m] + eps && m < last) {
      s -= p.length[(size_t)m];
      ++m;
    }
    if (s > p.length[(size_t)m] + eps) break;
    for (int k = from + 1; k <= m && k < R - 1; ++k)
      at[(size_t)k] = k == from + 1 && nearerBefore ? before : before + 1;
    d = std::min(s, p.length[(size_t)m]);
    place();
  }
  // The last marker lies on the last segment, as far from its start as
  // from the marker before it.
  if (firstOnLast >= 0) {
    const double toMarker = distance(p.e[(size_t)last], p.n[(size_t)last], markers[(size_t)R - 1].easting,
                                     markers[(size_t)R - 1].northing);
    at[(size_t)R - 1] = firstOnLast + (int)std::lround((toMarker - dFirstOnLast) / dx);
  }
  for (size_t k = 0; k < markers.size(); ++k) {
    if (at[k] < 0) continue;
    const int t = std::min(at[k], (int)plan.traces.size() - 1);
    if (!plan.nodes.empty() && plan.nodes.back().trace >= t) continue;
    plan.nodes.push_back({t, markers[k].easting, markers[k].northing});
  }
  // The line runs from the first output trace to the last: they are nodes
  // too, where they lie.
  const RubberSheetTrace &head = plan.traces.front(), &tail = plan.traces.back();
  const int lastTrace = (int)plan.traces.size() - 1;
  if (plan.nodes.empty() || plan.nodes.front().trace > 0)
    plan.nodes.insert(plan.nodes.begin(), {0, head.easting, head.northing});
  if (plan.nodes.back().trace < lastTrace) plan.nodes.push_back({lastTrace, tail.easting, tail.northing});
  return plan;
}

void mixTraces(NewTraces mode, double f, const float* a, const float* b, int n, float* out) {
  if (!b || f == 0) {
    std::copy(a, a + n, out);
  } else if (mode == NewTraces::MoveClosest) {
    const float* pick = f < 0.5 ? a : b;
    std::copy(pick, pick + n, out);
  } else {
    const float fa = float(1 - f), fb = float(f);
    for (int k = 0; k < n; ++k) out[k] = fa * a[k] + fb * b[k];
  }
}

// --- with the project ------------------------------------------------------------------

bool writeRubberSheetTraces(const RawData& d, const RubberSheetPlan& plan, NewTraces mode,
                            const std::string& path, AmplitudeRange& range) {
  const int T = (int)plan.traces.size();
  const int M = d.samples;
  RawTraceCursor raw(d);
  ProfileTraceFile out;
  bool ok = raw.open() && out.create(path);
  std::vector<float> trace((size_t)std::max(M, 1));
  for (int k = 0; ok && k < T; ++k) {
    showTraceProgress(kMsgRubberSheetingTrace, k, T);
    const RubberSheetTrace& t = plan.traces[(size_t)k];
    const float* a = raw.trace(t.source);
    // The cursor keeps both traces: a stays valid while b is read.
    const float* b = t.f > 0 && t.source + 1 < d.traces ? raw.trace(t.source + 1) : nullptr;
    mixTraces(mode, t.f, a, b, M, trace.data());
    if (d.format == kRawRamac) removeDcLevel(trace.data(), M);
    ok = out.write(trace.data(), M);
  }
  ok = ok && out.finish();
  range = out.range();
  return ok;
}

DvHandle rubberSheet(DvHandle rawItem, const std::string& name, NewTraces mode) {
  auto* obj = rawObjectOf(rawItem);
  const std::string rawName = treeName(rawItem);
  if (!obj || !obj->data || obj->data->format == kRawUnreadable || !obj->data->header) {
    msg(0, kMsgRubberSheetFailed, name.c_str());
    return nullptr;
  }
  const RawData& d = *obj->data;
  MarkerReference ref;
  const RubberSheetPlan plan = planRubberSheet(readMarkers(d, &ref), d.traces, d.samples, rawName);
  if (!plan.refusal.empty()) {
    msg(0, "%s", plan.refusal.c_str());
    return nullptr;
  }
  const std::string samplePath = newProfileSamplePath(name);
  AmplitudeRange range;
  bool ok = false;
  {
    dv::WaitCursor wait;
    if (auto f = fw<PfnCreateProgress>(PONTRA_CreateProgress)) f(kMsgRubberSheetingToProfile, "");
    ok = writeRubberSheetTraces(d, plan, mode, samplePath, range);
    if (auto f = fw<PfnDestroyProgress>(PONTRA_DestroyProgress)) f();
  }
  if (!ok) {
    msg(0, kMsgErrorCouldNotWrite, samplePath.c_str());
    msg(0, kMsgRubberSheetFailed, name.c_str());
    return nullptr;
  }
  NewProfile p = newProfileOf(d, (int)plan.traces.size(), d.samples, range);
  setNodes(p, plan.nodes);
  for (const RubberSheetTrace& t : plan.traces) {
    p.easting.push_back(float(t.easting));
    p.northing.push_back(float(t.northing));
  }
  DvHandle tree = completeNewProfile(name, p);
  // Markers placed from GPS put the profile on the map with the fixes' elevations.
  PositionRecord record;
  std::vector<double> places;
  for (const RubberSheetTrace& t : plan.traces) places.push_back(t.source + t.f);
  if (tree && !treeBad(tree) && rubberSheetRecord(d, ref, places, record)) keepPositionRecord(name + ".QUV", record);
  msg(0, tree && !treeBad(tree) ? kMsgRubberSheetCompleted : kMsgRubberSheetFailed, name.c_str());
  return tree;
}

}  // namespace quv
