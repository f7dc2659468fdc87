// Reverse, Crop and Reorder: the order text, the new trace count in each
// format's header, the rewrite of the recording and the command with its
// batch lines.
#include "processing/trace_order.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "dv/file.h"
#include "processing/markers.h"
#include "processing/positions.h"
#include "processing/recording_rewrite.h"
#include "project/messages.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/tree_items.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"

namespace quv {

namespace {

// A trace number at the front of `s`, counted from 1, at most `traces`;
// moves `s` past its digits.
bool takeNumber(std::string_view& s, int traces, int& out) {
  size_t n = 0;
  int64_t v = 0;
  while (n < s.size() && s[n] >= '0' && s[n] <= '9') {
    v = v * 10 + (s[n] - '0');
    if (v > traces) return false;
    ++n;
  }
  if (n == 0 || v < 1) return false;
  s.remove_prefix(n);
  out = int(v);
  return true;
}

bool takeEntry(std::string_view e, int traces, std::vector<int>& order) {
  const bool blank = !e.empty() && e.front() == '!';
  if (blank) e.remove_prefix(1);
  int a = 0, b = 0;
  if (!takeNumber(e, traces, a)) return false;
  b = a;
  if (!e.empty() && e.front() == '-') {
    e.remove_prefix(1);
    if (!takeNumber(e, traces, b)) return false;
  }
  // Anything left (a second "-", another character) is a fault.
  if (!e.empty()) return false;
  const int step = a <= b ? 1 : -1;
  for (int n = a;; n += step) {
    order.push_back(blank ? -n : n);
    if (n == b) break;
  }
  return true;
}

}  // namespace

bool ParseTraceOrder(const std::string& text, int traces, std::vector<int>& order) {
  order.clear();
  std::string s;
  for (char c : text)
    if (c != ' ' && c != '\t') s += c;
  std::string_view rest(s);
  while (true) {
    const size_t comma = rest.find(',');
    if (!takeEntry(rest.substr(0, comma), traces, order)) {
      order.clear();
      return false;
    }
    if (comma == std::string_view::npos) return true;
    rest.remove_prefix(comma + 1);
  }
}

std::string defaultTraceOrder(OrderMode mode, int traces) {
  char text[32];
  std::snprintf(text, sizeof text, mode == OrderMode::Reverse ? "%i-1" : "1-%i", traces);
  return text;
}

void setRecordingTraceCount(int format, void* header, int traces) {
  switch (format) {
    case kRawGssi:
      // The reader counts the traces from the file's length.
      static_cast<GssiFHdr*>(header)->traceCount = traces;
      break;
    case kRawPekko: {
      auto* h = static_cast<PekkoFHdr*>(header);
      h->traces = traces;
      if (h->stepSize != 0) h->finalPosition = h->startPosition + h->stepSize * float(traces - 1);
      break;
    }
    case kRawRamac:
      static_cast<RamacFHdr*>(header)->lastTrace = traces;
      break;
    case kRawSeg2:
      static_cast<Seg2FHdr*>(header)->traces = uint16_t(traces);
      break;
    case kRawSegy: {
      auto* h = static_cast<SegyFHdr*>(header);
      h->traceCount = traces;
      h->traces = uint16_t(traces > SEGY_MAX_FIELD_TRACES ? SEGY_MAX_FIELD_TRACES : traces);
      break;
    }
  }
}

bool reorderRecording(const RawData& d, const std::vector<int>& order, std::string& why,
                      const std::function<void(int, int)>& progress, bool throughLibrary) {
  const int traces = int(order.size());
  if (traces < 1) {
    why = "the new order holds no trace";
    return false;
  }
  for (int entry : order)
    if (entry == 0 || entry < -d.traces || entry > d.traces) {
      why = "the new order names a trace the recording does not hold";
      return false;
    }
  if (d.format == kRawSeg2 && traces > SEG2_MAX_TRACES) {
    why = "a SEG-2 file holds at most " + std::to_string(SEG2_MAX_TRACES) + " traces";
    return false;
  }
  // A header record of its own (the item's stays as it is until the new
  // recording is in place).
  RawData fresh;
  if (!readHeaderCopy(d, fresh, why)) return false;
  setRecordingTraceCount(d.format, fresh.header, traces);
  RecordingTraceReader reader(d);
  RecordingRewrite r;
  r.header = fresh.header;
  r.traces = traces;
  r.samples = d.samples;
  r.trace = [&](int i, RawTraceRecord& t, std::string& fault) {
    const int entry = order[size_t(i)];
    if (!reader.read((entry < 0 ? -entry : entry) - 1, t, fault)) return false;
    if (entry < 0) std::fill(t.samples.begin(), t.samples.end(), 0.0f);
    return true;
  };
  r.throughLibrary = throughLibrary;
  if (!throughLibrary)
    r.copyTraces = [&](const std::string& path, std::string& fault) {
      return copyTraceBytes(d, fresh.header, order, path, progress, fault);
    };
  r.progress = progress;
  return rewriteRecording(d, r, why);
}

bool ReorderRawTraces(RawObject& obj, const std::vector<int>& order, std::string& why) {
  if (!obj.data) {
    why = "its recording could not be read";
    return false;
  }
  bool ok;
  {
    TraceProgressWindow progress(kMsgWritingData);
    ok = reorderRecording(*obj.data, order, why, TraceProgressWindow::trace);
  }
  if (!ok) return false;
  // The marker file follows the traces, so rubber sheeting still ties each
  // marker to the trace it was set on.
  std::vector<Marker> markers = readMarkers(*obj.data);
  if (!markers.empty()) {
    const int dropped = remapMarkers(markers, order);
    if (!dv::writeFileAtomic(obj.data->markersPath, formatMarkerFile(markers)))
      msg(0, kMsgReorderMarkersNotSaved, obj.data->firstName.c_str());
    else if (dropped > 0)
      msg(0, kMsgReorderMarkersDropped, obj.data->firstName.c_str(), dropped);
  }
  // So do the positions, so that Geometry from GPS places the right traces.
  carryPositions(*obj.data, order);
  reloadRewrittenItem(obj);
  return true;
}

std::vector<int> newTracePlaces(const std::vector<int>& order) {
  std::vector<int> place;  // new index of each old trace, -1 when left out
  for (size_t i = 0; i < order.size(); ++i) {
    const int old = order[i] - 1;
    if (old < 0) continue;
    if (size_t(old) >= place.size()) place.resize(size_t(old) + 1, -1);
    if (place[size_t(old)] < 0) place[size_t(old)] = int(i);
  }
  return place;
}

int remapFixes(scrivel::sidecar::Summary& s, const std::vector<int>& order) {
  const std::vector<int> place = newTracePlaces(order);
  std::vector<scrivel::sidecar::Fix> kept;
  for (scrivel::sidecar::Fix f : s.fixes) {
    const size_t old = size_t(f.trace - 1);
    if (f.trace < 1 || old >= place.size() || place[old] < 0) {
      s.skips.push_back({f.trace, scrivel::sidecar::kLeftOut});
      continue;
    }
    f.trace = place[old] + 1;
    kept.push_back(f);
  }
  std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a.trace < b.trace; });
  const int dropped = int(s.fixes.size() - kept.size());
  s.fixes = std::move(kept);
  return dropped;
}

void carryPositions(const RawData& d, const std::vector<int>& order) {
  scrivel::sidecar::Summary s;
  if (!readRawSidecar(d, s)) return;
  const int dropped = remapFixes(s, order);
  if (!dv::writeFileAtomic(d.positionsPath, scrivel::sidecar::formatFixFile(s))) {
    // Fixes on the old trace numbers would place the wrong traces.
    dv::removeFile(d.positionsPath);
    msg(0, kMsgReorderFixesNotSaved, d.firstName.c_str());
  } else if (dropped > 0) {
    msg(0, kMsgReorderFixesDropped, d.firstName.c_str(), dropped);
  }
}

int remapMarkers(std::vector<GeoNode>& markers, const std::vector<int>& order) {
  const std::vector<int> place = newTracePlaces(order);
  std::vector<GeoNode> kept;
  for (GeoNode m : markers) {
    if (m.trace < 0 || size_t(m.trace) >= place.size() || place[size_t(m.trace)] < 0) continue;
    m.trace = place[size_t(m.trace)];
    kept.push_back(m);
  }
  const int dropped = int(markers.size() - kept.size());
  sortMarkers(kept);
  markers = std::move(kept);
  return dropped;
}

namespace {

void reorderRows(const std::vector<ReorderRow>& rows, bool batch) {
  BatchLines lines(batch);
  for (const ReorderRow& row : rows) {
    DvHandle item = rawItemByName(row.rawName);
    RawObject* obj = item ? rawObjectOf(item) : nullptr;
    if (!obj) continue;  // gone meanwhile: nothing to do
    std::vector<int> order;
    std::string why = "the order does not parse";
    const int traces = obj->data ? obj->data->traces : 0;
    if (ParseTraceOrder(row.order, traces, order) && ReorderRawTraces(*obj, order, why))
      msg(DV_MSG_PLAIN, kMsgReorderCompleted, row.rawName.c_str(), row.order.c_str());
    else
      msg(DV_MSG_PLAIN, kMsgReorderFailed, row.rawName.c_str(), row.order.c_str(), why.c_str());
  }
}

}  // namespace

void reorderCommand(OrderMode mode, DvHandle singleRawItemOrNull) {
  std::vector<ReorderRow> rows;
  for (DvHandle it : rawItemsForCommand(singleRawItemOrNull)) {
    const RawObject* obj = rawObjectOf(it);
    const int traces = obj && obj->data ? obj->data->traces : 0;
    rows.push_back({treeName(it), traces, defaultTraceOrder(mode, traces)});
  }
  if (rows.empty()) return;
  const bool batch = singleRawItemOrNull == nullptr;
  CReorderDlg dlg(std::move(rows));
  dlg.apply = [batch](const std::vector<ReorderRow>& chosen) { reorderRows(chosen, batch); };
  dlg.doModal();
}

}  // namespace quv
