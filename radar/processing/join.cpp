// The layout of a join (spacing, gaps, shared points, output traces and
// the nodes of its complex line) and the worker that writes the joined
// profile.
#include "processing/join.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "dv/ui.h"
#include "processing/create_profile.h"
#include "processing/raw_trace_cursor.h"
#include "project/messages.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/tree_items.h"

namespace quv {

namespace {

double span(const JoinItem& k) {
  return std::hypot(k.endEasting - k.startEasting, k.endNorthing - k.startNorthing);
}

template <typename... Args>
std::string text(const char* format, Args... args) {
  char buf[512];
  std::snprintf(buf, sizeof buf, format, args...);
  return buf;
}

}  // namespace

double joinIncrement(const JoinItem& k) { return k.traces > 1 ? span(k) / (k.traces - 1) : 0.0; }

bool timingDiffers(const JoinItem& a, const JoinItem& b) {
  const float limit = 0.001f;
  return std::fabs(a.firstTime - b.firstTime) > limit || std::fabs(a.interval - b.interval) > limit;
}

JoinPlan planJoin(const std::vector<JoinItem>& items) {
  JoinPlan plan;
  const size_t K = items.size();
  if (K == 0) return plan;
  double sum = 0;
  for (const JoinItem& k : items) {
    if (k.end == k.start) {
      plan.refusal = text(kMsgJoinSameTraces, k.name.c_str());
      return plan;
    }
    sum += span(k) / (double(k.end) - k.start);
    plan.samples = std::max(plan.samples, k.samples);
  }
  plan.dx = sum / double(K);
  plan.gap.assign(K, 0);
  plan.lastUsed.resize(K);
  for (size_t k = 0; k < K; ++k) plan.lastUsed[k] = items[k].end;
  for (size_t k = 1; k < K; ++k) {
    const JoinItem &a = items[k - 1], &b = items[k];
    if (a.endEasting == b.startEasting && a.endNorthing == b.startNorthing) {
      --plan.lastUsed[k - 1];  // the shared point is written once
      continue;
    }
    const double d = std::hypot(b.startEasting - a.endEasting, b.startNorthing - a.endNorthing);
    if (!(plan.dx > 0) || !std::isfinite(d)) {
      plan.refusal = kMsgJoinNoSpacing;
      return plan;
    }
    const double g = std::floor(d / plan.dx);
    if (!(g <= double(kMaxProfileTraces))) {
      plan.refusal = text(kMsgJoinTooManyTraces, g, plan.samples);
      return plan;
    }
    plan.gap[k] = int(g);
  }
  double total = 0;
  plan.first.resize(K);
  for (size_t k = 0; k < K; ++k) {
    total += plan.gap[k];
    plan.first[k] = int(std::min(total, 2e9));
    total += std::max(plan.lastUsed[k] - items[k].start + 1, 0);
  }
  if (!(total <= double(kMaxProfileTraces))) {
    plan.refusal = text(kMsgJoinTooManyTraces, total, plan.samples);
    return plan;
  }
  plan.total = int(total);
  for (size_t k = 0; k < K; ++k) {
    const JoinItem& it = items[k];
    if (it.start > it.end) continue;  // nothing of it is written
    const GeoNode ends[2] = {{plan.first[k], it.startEasting, it.startNorthing},
                             {plan.first[k] + (it.end - it.start), it.endEasting, it.endNorthing}};
    for (const GeoNode& n : ends)
      if (plan.nodes.empty() || n.trace > plan.nodes.back().trace) plan.nodes.push_back(n);
  }
  return plan;
}

// --- with the project ------------------------------------------------------------------

bool writeJoinedTraces(const std::vector<const RawData*>& data, const std::vector<JoinItem>& items,
                       const JoinPlan& plan, const std::string& path, AmplitudeRange& range) {
  const int M = plan.samples, T = plan.total;
  ProfileTraceFile out;
  bool ok = data.size() == items.size() && out.create(path);
  std::vector<float> trace((size_t)std::max(M, 1));
  const std::vector<float> zeros((size_t)std::max(M, 1), 0.0f);
  auto put = [&](const float* samples) {
    showTraceProgress("Trace %i of %i", out.written(), T);
    ok = ok && out.write(samples, M);
  };
  for (size_t k = 0; ok && k < items.size(); ++k) {
    for (int g = 0; ok && g < plan.gap[k]; ++g) put(zeros.data());
    const RawData* d = data[k];
    if (!d || !d->header) {
      ok = false;
      break;
    }
    RawTraceCursor raw(*d);
    if (items[k].start <= plan.lastUsed[k]) ok = ok && raw.open();
    const int n = std::min(d->samples, M);
    const bool asRead = d->samples == M && d->format != kRawRamac;
    for (int t = items[k].start; ok && t <= plan.lastUsed[k]; ++t) {
      const float* a = raw.trace(t);
      if (asRead) {
        put(a);
        continue;
      }
      std::fill(trace.begin(), trace.end(), 0.0f);
      std::copy(a, a + n, trace.begin());
      if (d->format == kRawRamac) removeDcLevel(trace.data(), n);
      put(trace.data());
    }
  }
  ok = ok && out.written() == T && out.finish();
  range = out.range();
  return ok;
}

DvHandle joinToProfile(const std::string& name, const std::vector<JoinItem>& items,
                       const JoinPlan& plan) {
  const std::string samplePath = newProfileSamplePath(name);
  std::vector<const RawData*> data;
  for (const JoinItem& it : items) {
    const RawObject* obj = rawObjectOf(it.tree);
    data.push_back(obj && obj->data && obj->data->header ? obj->data.get() : nullptr);
  }
  AmplitudeRange range;
  bool ok = false;
  {
    dv::WaitCursor wait;
    if (auto f = fw<PfnCreateProgress>(PONTRA_CreateProgress)) f(kMsgJoiningToProfile, "");
    ok = writeJoinedTraces(data, items, plan, samplePath, range);
    if (auto f = fw<PfnDestroyProgress>(PONTRA_DestroyProgress)) f();
  }
  if (!ok || data.empty() || !data[0]) {
    msg(0, kMsgErrorCouldNotWrite, samplePath.c_str());
    msg(0, kMsgJoinFailed, name.c_str());
    return nullptr;
  }
  // The time axis and the units are the first item's.
  NewProfile p = newProfileOf(*data[0], plan.total, plan.samples, range);
  setNodes(p, complexGeoNodes(plan.total, plan.nodes));
  complexLineXY(plan.total, plan.nodes, p.easting, p.northing);
  DvHandle tree = completeNewProfile(name, p);
  msg(0, tree && !treeBad(tree) ? kMsgJoinCompleted : kMsgJoinFailed, name.c_str());
  return tree;
}

}  // namespace quv
