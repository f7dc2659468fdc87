// Load item: the item file, then the recording's header through the format
// library (module 1's function table), into the raw data record.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "dv/file.h"
#include "project/item_windows.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/raw_traces.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"
#include "scrivel/time_axis.h"
#include "project/messages.h"

namespace quv {

namespace {


void markBad(DvHandle item) {
  if (auto f = fw<PfnSetTreeInt>(PONTRA_SetTreeBad)) f(item, 1);
}

// What a header gives, before the checks.
struct HeaderValues {
  int traces = 0, samples = 0;
  double firstTime = 0, interval = 0;
  void take(const scrivel::TimeAxis& t) {
    firstTime = t.firstNs;
    interval = t.intervalNs;
  }
};

// Reads the header of the first stored file by the first name's prefix.
// Returns false when the format library refused it.
bool readHeader(RawData& d, HeaderValues& v) {
  const char* path = d.firstPath.c_str();
  switch (d.format) {
    case kRawGssi: {
      auto read = scrivel<PfnReadGssiFHdr>(SCRIVEL_ReadGssiFHdr);
      GssiFHdr* h = nullptr;
      if (!read || read(path, &h) < 0 || !h) return false;
      d.header = h;
      d.headerFormat = kRawGssi;
      v.traces = h->traceCount;
      v.samples = h->NSamp;
      v.take(scrivel::timeAxis(*h));
      return true;
    }
    case kRawPekko: {
      auto read = scrivel<PfnReadPekkoFHdr>(SCRIVEL_ReadPekkoFHdr);
      PekkoFHdr* h = nullptr;
      if (!read || read(path, &h) < 0 || !h) return false;
      d.header = h;
      d.headerFormat = kRawPekko;
      v.traces = h->traces;
      v.samples = h->points;
      v.take(scrivel::timeAxis(*h));
      return true;
    }
    case kRawRamac: {
      auto read = scrivel<PfnReadRamacFHdr>(SCRIVEL_ReadRamacFHdr);
      RamacFHdr* h = nullptr;
      if (!read || read(path, &h) < 0 || !h) return false;
      d.header = h;
      d.headerFormat = kRawRamac;
      v.samples = h->samples;
      v.traces = h->lastTrace;
      v.take(scrivel::timeAxis(*h));
      return true;
    }
    case kRawSeg2: {
      auto read = scrivel<PfnReadSeg2FHdr>(SCRIVEL_ReadSeg2FHdr);
      auto open = scrivel<PfnOpenFile>(SCRIVEL_OpenFileForRead);
      auto trace = scrivel<PfnReadSeg2Trace>(SCRIVEL_ReadSeg2Trace);
      Seg2FHdr* h = nullptr;
      if (!read || !open || !trace || read(path, &h) < 0 || !h) return false;
      d.header = h;
      d.headerFormat = kRawSeg2;
      dv::File file;
      if (open(path, &file) < 0) return false;
      Seg2TraceHdr* th = nullptr;
      float* samples = nullptr;
      int rc = trace(path, &file, h, &th, 0, &samples, 0);
      file.close();
      std::free(samples);
      // After a failed read the reader has released what it allocated.
      if (rc < 0 || !th) return false;
      v.traces = h->traces;
      v.samples = (int)std::min<uint32_t>(th->samples, INT32_MAX);
      v.take(scrivel::timeAxis(*th));
      std::free(th);
      return true;
    }
    case kRawSegy: {
      auto read = scrivel<PfnReadSegyFHdr>(SCRIVEL_ReadSegyFHdr);
      SegyFHdr* h = nullptr;
      if (!read || read(path, &h) < 0 || !h) return false;
      d.header = h;
      d.headerFormat = kRawSegy;
      v.traces = (int)scrivel::segyTraceCount(*h);
      v.samples = h->samples;
      v.take(scrivel::timeAxis(*h));
      return true;
    }
  }
  return false;
}

}  // namespace

bool readRecordingHeader(RawData& d) {
  HeaderValues v;
  return readHeader(d, v);
}

bool readRecordingShape(int format, const std::string& firstPath, RecordingShape& out) {
  RawData d;
  d.format = format;
  d.firstPath = firstPath;
  HeaderValues v;
  if (!readHeader(d, v)) return false;
  out.traces = v.traces;
  out.samples = v.samples;
  out.firstTime = v.firstTime;
  out.interval = v.interval;
  return true;
}

RawData::~RawData() {
  if (!header) return;
  switch (headerFormat) {
    case kRawGssi:
      if (auto f = scrivel<PfnCleanupGssiFHdr>(SCRIVEL_CleanupGssiFHdr))
        f(static_cast<GssiFHdr*>(header));
      break;
    case kRawPekko: delete static_cast<PekkoFHdr*>(header); break;
    case kRawRamac: delete static_cast<RamacFHdr*>(header); break;
    case kRawSeg2:
      if (auto f = scrivel<PfnCleanupSeg2FHdr>(SCRIVEL_CleanupSeg2FHdr))
        f(static_cast<Seg2FHdr*>(header));
      break;
    case kRawSegy: std::free(header); break;
  }
  header = nullptr;
}

std::string projectPath(const std::string& name) { return dv::joinPath(projectDir(), name); }

int64_t twoFileDataBytes(int format, int traces, int samples) {
  const int64_t perTrace = format == kRawPekko ? 128 + 2 * int64_t(samples) : 2 * int64_t(samples);
  return perTrace * traces;
}

std::string keptAsideName(const std::string& path) { return path + ".orig"; }

bool recoverCutShortRewrite(const RawData& d) {
  if (d.format != kRawPekko && d.format != kRawRamac) return false;
  const std::string header = keptAsideName(d.firstPath), data = keptAsideName(d.secondPath);
  const bool headerAside = dv::fileExists(header), dataAside = dv::fileExists(data);
  if (!dataAside) {
    if (headerAside) dv::removeFile(header);
    return false;
  }
  bool restore = headerAside;
  if (!headerAside) {
    // Undecided while the header does not read: nothing is lost then.
    RecordingShape shape;
    if (!readRecordingShape(d.format, d.firstPath, shape)) return false;
    const int64_t fits = twoFileDataBytes(d.format, shape.traces, shape.samples);
    restore = dv::fileSize(data) == fits && dv::fileSize(d.secondPath) != fits;
  }
  if (!restore) {
    dv::removeFile(data);
    return false;
  }
  if (headerAside && !dv::renameFile(header, d.firstPath)) return false;
  if (!dv::renameFile(data, d.secondPath)) return false;
  // New files of the rewrite that were never renamed.
  dv::removeFile(d.firstPath + ".part");
  dv::removeFile(d.secondPath + ".part");
  msg(DV_MSG_PLAIN, kMsgRestoredAfterCutShortRewrite,
      (d.firstName.empty() ? d.firstPath : d.firstName).c_str());
  return true;
}

bool loadRawItem(RawObject& obj) {
  if (itemWindows().destroyRaw) itemWindows().destroyRaw(obj);
  obj.data.reset();
  obj.keepPlacement = false;
  std::string itemName = "RAW_" + treeFileExt(obj.item);
  std::string itemPath = projectPath(itemName);
  // A file-extension text from a project file could name a file elsewhere.
  if (!dv::isSafeFileName(itemName)) {
    msg(DV_MSG_PLAIN, kMsgNotAFileNameInProject, itemPath.c_str());
    markBad(obj.item);
    return false;
  }
  std::string bytes;
  RawItemFile f;
  if (!dv::readWholeFile(itemPath, bytes) || !decodeRawItemFile(bytes, f)) {
    msg(DV_MSG_PLAIN, kMsgErrorCouldNotOpenForReading, itemPath.c_str());
    markBad(obj.item);
    return false;
  }
  // The stored names come from the file: they must stay in the project folder.
  for (const std::string* n : {&f.firstName, &f.secondName})
    if (!dv::isSafeFileName(*n) || !dv::isSafeFileName("MRK_" + *n) ||
        !dv::isSafeFileName("GPS_" + *n)) {
      msg(DV_MSG_PLAIN, kMsgNotAFileNameInProject, n->c_str());
      markBad(obj.item);
      return false;
    }

  auto d = std::make_unique<RawData>();
  d->firstName = f.firstName;
  d->secondName = f.secondName;
  d->firstPath = projectPath(f.firstName);
  d->secondPath = projectPath(f.secondName);
  d->markersPath = projectPath("MRK_" + f.firstName);
  d->positionsPath = projectPath("GPS_" + f.firstName);
  d->windowSet = f.windowSet;
  d->firstTrace = f.firstTrace;
  d->lastTrace = f.lastTrace;
  d->firstSample = f.firstSample;
  d->lastSample = f.lastSample;
  d->gain = f.gain;
  d->palette = f.palette;
  d->colours = f.colours;
  d->format = formatOfStoredName(f.firstName);
  RawData& data = *d;
  obj.data = std::move(d);
  recoverCutShortRewrite(data);

  HeaderValues v;
  if (data.format == kRawUnreadable || !readHeader(data, v)) {
    data.format = kRawUnreadable;
    data.traces = 0;
    markBad(obj.item);
    return false;
  }
  // The counts size the per-trace and per-sample arrays: they must fit in
  // the file that holds the samples (at least one byte per sample).
  int64_t available = dv::fileSize(rawSamplesPath(data));
  if (available < 0) {
    msg(DV_MSG_PLAIN, kMsgErrorCouldNotOpenForReading, rawSamplesPath(data).c_str());
    data.traces = 0;
    markBad(obj.item);
    return false;
  }
  if (v.traces < 0 || v.samples < 0 || (int64_t)v.traces * v.samples > available ||
      v.traces > available || v.samples > available) {
    msg(DV_MSG_PLAIN, kMsgRecordingTooShort, rawSamplesPath(data).c_str(), v.traces, v.samples);
    data.traces = 0;
    markBad(obj.item);
    return false;
  }
  data.traces = v.traces;
  data.samples = v.samples;
  data.firstTime = std::isfinite(v.firstTime) ? (float)v.firstTime : 0.f;
  data.interval = (float)v.interval;
  if (!(data.interval > 0) || !std::isfinite(data.interval)) data.interval = 1.0f;
  if (f.windowSet == 0) {
    data.firstTrace = 0;
    data.lastTrace = data.traces - 1;
    data.firstSample = 0;
    data.lastSample = data.samples - 1;
  }
  data.windowSet = 1;
  data.needed.assign((size_t)data.traces, 0);
  data.buffers.clear();
  data.buffers.resize((size_t)data.traces);
  data.timeAxis.resize((size_t)data.samples);
  for (int i = 0; i < data.samples; ++i) data.timeAxis[(size_t)i] = data.firstTime + i * data.interval;

  if (f.windowOpen == 1) {
    if (itemWindows().reopenRaw) {
      itemWindows().reopenRaw(obj, f.placement);
    } else {
      // No windows here: the placement is written back as it was read.
      obj.keepPlacement = true;
      obj.placement = f.placement;
    }
  }
  return true;
}

}  // namespace quv
