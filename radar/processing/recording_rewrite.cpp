#include "processing/recording_rewrite.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>

#include "dv/file.h"
#include "dv/ui.h"
#include "project/mapped_file.h"
#include "project/messages.h"
#include "project/quv.h"
#include "project/selection.h"
#include "project/trace_progress.h"
#include "project/tree_items.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"

namespace quv {

namespace {

std::string partName(const std::string& path) {
  return path + ".part";
}

bool twoFiles(int format) { return format == kRawPekko || format == kRawRamac; }

int writeHeaderFile(int format, const std::string& path, void* header) {
  const char* p = path.c_str();
  switch (format) {
    case kRawGssi:
      if (auto f = scrivel<PfnWriteGssiFHdr>(SCRIVEL_WriteGssiFHdr))
        return f(p, static_cast<GssiFHdr*>(header));
      break;
    case kRawPekko:
      if (auto f = scrivel<PfnWritePekkoFHdr>(SCRIVEL_WritePekkoFHdr))
        return f(p, static_cast<PekkoFHdr*>(header));
      break;
    case kRawRamac:
      if (auto f = scrivel<PfnWriteRamacFHdr>(SCRIVEL_WriteRamacFHdr))
        return f(p, static_cast<RamacFHdr*>(header));
      break;
    case kRawSeg2:
      if (auto f = scrivel<PfnWriteSeg2FHdr>(SCRIVEL_WriteSeg2FHdr))
        return f(p, static_cast<Seg2FHdr*>(header));
      break;
    case kRawSegy:
      if (auto f = scrivel<PfnWriteSegyFHdr>(SCRIVEL_WriteSegyFHdr))
        return f(p, static_cast<SegyFHdr*>(header));
      break;
  }
  return SCRIVEL_ERR_CREATE;
}

// The samples per trace a header record makes the writers take from each
// trace, -1 for formats whose traces say it themselves.
int headerSamples(int format, const void* header) {
  if (format == kRawGssi) return static_cast<const GssiFHdr*>(header)->NSamp;
  if (format == kRawRamac) return static_cast<const RamacFHdr*>(header)->samples;
  if (format == kRawSegy) return static_cast<const SegyFHdr*>(header)->samples;
  return -1;
}

void putSeg2Word(uint8_t* p, uint32_t v, bool be) {
  for (int b = 0; b < 4; ++b) p[be ? 3 - b : b] = uint8_t(v >> (8 * b));
}

// SEG-2 traces written one after the other into the new file, their
// pointers kept aside and written in one block at the end. The library's
// trace writer, which fills in the trace's pointer near the start of the
// file it writes (a seek and a flush for every trace on disk), writes each
// trace into a small buffer of its own instead: its pointer lands in the
// buffer's first part, the trace's blocks after it, at an offset with the
// alignment of the trace's place in the new file (the writer pads the
// descriptor from there). The blocks are then appended to the file.
class Seg2TraceSink {
 public:
  Seg2TraceSink(PfnWriteSeg2Trace write, Seg2FHdr* h, int traces)
      : write_(write), h_(h), pointers_(size_t(std::max(traces, 0))) {
    scratch_.openMemory(nullptr, 0);
  }
  // Trace `index` (from 0) with its record `t` and samples `s` at the end
  // of `file`; the library's status.
  int write(const char* path, dv::File& file, Seg2TraceHdr& t, int index, float* s) {
    const int64_t at = file.position();
    if (at < 0 || at > int64_t(UINT32_MAX) || index < 0 || size_t(index) >= pointers_.size())
      return SCRIVEL_ERR_SEEK;
    const int64_t base = kBlocksAt + (at & 3);
    if (scratch_.seek(base) != base) return SCRIVEL_ERR_CREATE;
    const int rc = write_(path, &scratch_, h_, &t, index, s);
    if (rc < 0) return rc;
    const size_t bytes = size_t(scratch_.position() - base);
    if (file.write(scratch_.data().data() + base, bytes) != bytes) return SCRIVEL_ERR_CREATE;
    pointers_[size_t(index)] = uint32_t(at);
    return rc;
  }
  // The pointers into their sub-block; false when they cannot be written.
  bool finish(dv::File& file) {
    const bool be = h_->bigEndian != 0;
    std::vector<uint8_t> block(4 * pointers_.size());
    for (size_t i = 0; i < pointers_.size(); ++i) putSeg2Word(block.data() + 4 * i, pointers_[i], be);
    const int64_t at = h_->pointerBlockPos;
    return file.seek(at) == at && file.write(block.data(), block.size()) == block.size() &&
           file.seek(0, dv::File::End) >= 0;
  }

 private:
  // Past the largest pointer sub-block a file header can give.
  static constexpr int64_t kBlocksAt = 32 + 4 * int64_t(SEG2_MAX_TRACES) + 4;

  PfnWriteSeg2Trace write_;
  Seg2FHdr* h_;
  dv::File scratch_;
  std::vector<uint32_t> pointers_;
};

// The traces of `r` into the samples file `path`: appended after the header
// already written there (GSSI, SEG-2, SEG-Y), or a new data file.
bool writeTraces(const RawData& d, const RecordingRewrite& r, const std::string& path,
                 std::string& why) {
  dv::File file;
  const int slot = twoFiles(d.format) ? SCRIVEL_CreateFileForWrite : SCRIVEL_OpenFileForWrite;
  auto open = scrivel<PfnOpenFile>(slot);
  if (!open || open(path.c_str(), &file) < 0) {
    why = "the new file could not be opened for writing";
    return false;
  }
  auto writeGssi = scrivel<PfnWriteGssiTrace>(SCRIVEL_WriteGssiTrace);
  auto writePekko = scrivel<PfnWritePekkoTrace>(SCRIVEL_WritePekkoTrace);
  auto writeRamac = scrivel<PfnWriteRamacTrace>(SCRIVEL_WriteRamacTrace);
  auto writeSeg2 = scrivel<PfnWriteSeg2Trace>(SCRIVEL_WriteSeg2Trace);
  std::unique_ptr<Seg2TraceSink> seg2;
  if (d.format == kRawSeg2 && writeSeg2)
    seg2 = std::make_unique<Seg2TraceSink>(writeSeg2, static_cast<Seg2FHdr*>(r.header), r.traces);
  auto writeSegy = scrivel<PfnWriteSegyTrace>(SCRIVEL_WriteSegyTrace);
  const char* p = path.c_str();
  // One record for every trace, so that its sample array is reused.
  RawTraceRecord t;
  for (int i = 0; i < r.traces; ++i) {
    if (r.progress) r.progress(i, r.traces);
    if (!r.trace(i, t, why)) {
      file.close();
      return false;
    }
    // The writers take as many samples as the header (or the trace's own
    // record) gives: a shorter trace is filled up with zeros first.
    size_t needed = size_t(std::max(r.samples, 0));
    if (d.format == kRawSeg2 && t.seg2) needed = t.seg2->samples;
    if (t.samples.size() < needed) t.samples.resize(needed, 0.0f);
    float* s = t.samples.data();
    int rc = SCRIVEL_ERR_CREATE;
    switch (d.format) {
      case kRawGssi:
        if (writeGssi) rc = writeGssi(p, &file, static_cast<GssiFHdr*>(r.header), i, t.mark, s);
        break;
      case kRawPekko:
        if (!t.pekko) t.pekko = std::make_unique<PekkoTraceHdr>();
        // Every trace as long as the header says, so that trace i lies where
        // the reader looks for it.
        t.pekko->points = float(r.samples);
        if (writePekko) rc = writePekko(p, &file, t.pekko.get(), i, s);
        break;
      case kRawRamac:
        if (writeRamac) rc = writeRamac(p, &file, static_cast<RamacFHdr*>(r.header), i, s);
        break;
      case kRawSeg2:
        if (seg2 && t.seg2) rc = seg2->write(p, file, *t.seg2, i, s);
        break;
      case kRawSegy:
        if (writeSegy && t.segy)
          rc = writeSegy(p, &file, static_cast<SegyFHdr*>(r.header), t.segy.get(), i, s);
        break;
    }
    if (rc < 0) {
      file.close();
      why = "trace " + std::to_string(i + 1) + " could not be written";
      return false;
    }
  }
  const bool flushed = (!seg2 || seg2->finish(file)) && file.flush();
  file.close();
  if (!flushed) why = "the new file could not be written whole";
  return flushed;
}

// The written files read back as `r` says; the reason otherwise.
bool readsBack(const RawData& d, const RecordingRewrite& r, const std::string& headerTmp,
               const std::string& dataTmp, std::string& why) {
  RecordingShape shape;
  if (!readRecordingShape(d.format, headerTmp, shape)) {
    why = "the format's reader refuses the changed header";
    return false;
  }
  if (shape.traces != r.traces || shape.samples != r.samples) {
    why = "the changed header gives " + std::to_string(shape.traces) + " traces of " +
          std::to_string(shape.samples) + " samples, the recording holds " +
          std::to_string(r.traces) + " of " + std::to_string(r.samples);
    return false;
  }
  // Headers hold the axis in single precision or as decimal text.
  const double firstSlack = 1e-4 * r.interval + 1e-6 * (1.0 + std::fabs(r.firstTime));
  if (r.checkTimeAxis && (std::fabs(shape.firstTime - r.firstTime) > firstSlack ||
                          std::fabs(shape.interval - r.interval) > 1e-5 * r.interval)) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "the written header gives a first sample at %g ns every %g ns instead of %g ns "
                  "every %g ns",
                  shape.firstTime, shape.interval, r.firstTime, r.interval);
    why = text;
    return false;
  }
  if (!dataTmp.empty() && dv::fileSize(dataTmp) != twoFileDataBytes(d.format, r.traces, r.samples)) {
    why = "the new data file does not hold the traces written";
    return false;
  }
  return true;
}

// Keeps the file at `path` reachable as keptAsideName(path): a second link
// to it, or where the file system has none a copy (`copy`) or the file
// itself moved there.
bool keepAside(const std::string& path, bool copy) {
  const std::string kept = keptAsideName(path);
  std::error_code ec;
  std::filesystem::remove(kept, ec);
  std::filesystem::create_hard_link(path, kept, ec);
  if (!ec) return true;
  return copy ? dv::copyFile(path, kept) : dv::renameFile(path, kept);
}

// Renames the new data file and then the new header over the old ones. Both
// old files stay aside (keepAside) until both new ones are in place, so a
// failed rename puts them back, and a process cut short in between leaves
// them for recoverCutShortRewrite. Once both are in place the old data
// file goes first: an old header left aside alone says the new recording
// is whole.
bool renameBoth(const std::string& dataTmp, const std::string& data, const std::string& headerTmp,
                const std::string& header) {
  const std::string keptHeader = keptAsideName(header), keptData = keptAsideName(data);
  if (!keepAside(header, true)) return false;
  if (!keepAside(data, false)) {
    dv::removeFile(keptHeader);
    return false;
  }
  if (!dv::renameFile(dataTmp, data)) {
    // Moved aside rather than linked: back into place.
    if (!dv::fileExists(data)) dv::renameFile(keptData, data);
    dv::removeFile(keptData);
    dv::removeFile(keptHeader);
    return false;
  }
  if (!dv::renameFile(headerTmp, header)) {
    dv::renameFile(keptData, data);
    dv::removeFile(keptHeader);
    return false;
  }
  dv::removeFile(keptData);
  dv::removeFile(keptHeader);
  return true;
}

}  // namespace

RecordingTraceReader::RecordingTraceReader(const RawData& d)
    : d_(d), file_(std::make_unique<dv::File>()) {
  // A SEG-2 trace is read where its pointer says, so every trace begins
  // with a seek: through a buffered disk file in any order but the stored
  // one (a reversal) each costs a system call and a refilled buffer, in the
  // recording's mapping nothing.
  if (d.format == kRawSeg2 && (mapped_ = MappedFile::open(rawSamplesPath(d)))) {
    open_ = file_->openView(mapped_->data(), size_t(mapped_->bytes()));
    return;
  }
  auto open = scrivel<PfnOpenFile>(SCRIVEL_OpenFileForRead);
  open_ = open && open(rawSamplesPath(d).c_str(), file_.get()) == SCRIVEL_OK;
}

RecordingTraceReader::~RecordingTraceReader() { file_->close(); }

bool RecordingTraceReader::read(int index, RawTraceRecord& out, std::string& why) {
  bool marked = false;
  if (!open_ || index < 0 || index >= d_.traces ||
      readRawTrace(d_, *file_, index, 1, nullptr, marked, &out) < 0) {
    why = open_ ? "trace " + std::to_string(index + 1) + " could not be read"
                : "the recording could not be opened for reading";
    return false;
  }
  return true;
}

bool readRecordingTraces(const RawData& d, std::vector<RawTraceRecord>& traces, std::string& why) {
  traces.clear();
  RecordingTraceReader reader(d);
  if (!reader.isOpen()) {
    why = "the recording could not be opened for reading";
    return false;
  }
  traces.resize(size_t(std::max(d.traces, 0)));
  for (int i = 0; i < d.traces; ++i)
    if (!reader.read(i, traces[size_t(i)], why)) {
      traces.clear();
      return false;
    }
  return true;
}

bool readHeaderCopy(const RawData& d, RawData& copy, std::string& why) {
  copy.format = d.format;
  copy.firstPath = d.firstPath;
  if (d.format != kRawUnreadable && d.header && readRecordingHeader(copy)) return true;
  why = "its header could not be read";
  return false;
}

bool rewriteRecording(const RawData& d, const RecordingRewrite& r, std::string& why) {
  if (d.format < kRawGssi || d.format > kRawSegy || !r.header) {
    why = "the recording's format is not known";
    return false;
  }
  if (recoverCutShortRewrite(d)) {
    why = "its files were first put back as they were before an earlier rewrite that was cut "
          "short; open the item again and repeat";
    return false;
  }
  const bool withData = twoFiles(d.format) && r.trace;
  if (!twoFiles(d.format) && !r.trace) {
    why = "the traces of the recording were not read";
    return false;
  }
  // The writers take as many samples from each trace as the header gives:
  // a header that gives another count than the traces hold is refused
  // before anything is written.
  const int perTrace = headerSamples(d.format, r.header);
  if (r.trace && perTrace >= 0 && perTrace != r.samples) {
    why = "the changed header gives " + std::to_string(perTrace) +
          " samples per trace, the recording's traces hold " + std::to_string(r.samples);
    return false;
  }
  const std::string headerTmp = partName(d.firstPath);
  const std::string dataTmp = withData ? partName(d.secondPath) : "";
  auto cleanUp = [&] {
    dv::removeFile(headerTmp);
    if (withData) dv::removeFile(dataTmp);
  };
  if (writeHeaderFile(d.format, headerTmp, r.header) < 0) {
    why = "the header could not be written";
    cleanUp();
    return false;
  }
  const std::string& samplesTmp = twoFiles(d.format) ? dataTmp : headerTmp;
  TraceCopy copied = TraceCopy::NotExact;
  if (r.trace && r.copyTraces) {
    // A data file of its own is made afresh by the trace writers.
    const int64_t headerBytes = dv::fileSize(headerTmp);
    copied = r.copyTraces(samplesTmp, why);
    std::error_code ec;
    if (copied == TraceCopy::NotExact && !twoFiles(d.format))
      std::filesystem::resize_file(headerTmp, uintmax_t(std::max<int64_t>(headerBytes, 0)), ec);
    if (copied == TraceCopy::Failed || ec) {
      if (ec) why = "the new file could not be written";
      cleanUp();
      return false;
    }
  }
  if (r.trace && copied != TraceCopy::Done && !writeTraces(d, r, samplesTmp, why)) {
    cleanUp();
    return false;
  }
  if (!readsBack(d, r, headerTmp, dataTmp, why)) {
    cleanUp();
    return false;
  }
  const bool renamed = withData ? renameBoth(dataTmp, d.secondPath, headerTmp, d.firstPath)
                                : dv::renameFile(headerTmp, d.firstPath);
  if (!renamed) {
    why = "the new files could not be renamed over the recording";
    cleanUp();
    return false;
  }
  return true;
}

bool rewriteRecording(const RawData& d, void* header, std::vector<RawTraceRecord>& traces,
                      std::string& why) {
  RecordingRewrite r;
  r.header = header;
  r.traces = d.traces;
  r.samples = d.samples;
  if (!twoFiles(d.format)) {
    if (int(traces.size()) != d.traces) {
      why = "the traces of the recording were not read";
      return false;
    }
    r.trace = [&traces](int i, RawTraceRecord& t, std::string&) {
      t = std::move(traces[size_t(i)]);
      return true;
    };
  }
  return rewriteRecording(d, r, why);
}

void reloadRewrittenItem(RawObject& obj) {
  if (!obj.data) return;
  RawData& d = *obj.data;
  // The part in use becomes the whole of the new recording: it is read
  // again from the header when the item loads.
  d.windowSet = 0;
  d.firstTrace = d.lastTrace = d.firstSample = d.lastSample = 0;
  saveRawItem(obj);
  loadRawItem(obj);
}

std::vector<DvHandle> rawItemsForCommand(DvHandle singleRawItemOrNull) {
  if (singleRawItemOrNull) {
    if (treeBad(singleRawItemOrNull)) return {};
    return {singleRawItemOrNull};
  }
  std::vector<DvHandle> out;
  if (batchSelectionCheck(SelectionMode::Raw, false, false) != 0) return out;
  for (DvHandle it : childItems(rawFolder()))
    if (!treeBad(it) && treeSelected(it)) out.push_back(it);
  return out;
}

DvHandle rawItemByName(const std::string& name) {
  for (DvHandle it : childItems(rawFolder()))
    if (treeName(it) == name) return it;
  return nullptr;
}

BatchLines::BatchLines(bool batch) : batch_(batch) {
  if (!batch_) return;
  msgBare(DV_MSG_PLAIN, "");
  msg(DV_MSG_TIMESTAMP, kMsgBatchStart);
}

BatchLines::~BatchLines() {
  if (!batch_) return;
  msg(DV_MSG_TIMESTAMP, kMsgBatchEnd);
  msgBare(DV_MSG_PLAIN, "");
}

TraceProgressWindow::TraceProgressWindow(const char* title) {
  dv::ui().setWaitCursor(true);
  if (auto f = fw<PfnCreateProgress>(PONTRA_CreateProgress)) f(title, "");
}

TraceProgressWindow::~TraceProgressWindow() {
  if (auto f = fw<PfnDestroyProgress>(PONTRA_DestroyProgress)) f();
  dv::ui().setWaitCursor(false);
}

void TraceProgressWindow::trace(int i, int traces) {
  if (auto set = fw<PfnSetProgress>(PONTRA_SetProgress)) traceProgress(i, traces, set);
}

}  // namespace quv
