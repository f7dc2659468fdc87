// Rewriting a raw item's recording whole, in its own format: with an edited
// header record (View File Header), or with traces in a new order or on a
// new time axis (Reverse, Crop, Reorder, Resample). The new files go to
// temporary files beside the recording ("<file>.part"), are read back with
// the format's own reader and are renamed over the recording only when they
// read back as the caller expects; a failure leaves the recording as it was
// and removes the temporary files. pulseEKKO and RAMAC recordings keep their
// samples in a data file of their own: when traces are written it is
// rewritten with the header, and both are renamed into place together (the
// old data file is kept aside until the header is in place, so a failed
// rename puts it back).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "processing/trace_bytes.h"
#include "project/raw_traces.h"

namespace dv {
class File;
}

namespace quv {

class MappedFile;

// Every trace of the item's recording, with its own record, read with the
// item's header. False with the reason when the recording cannot be read.
bool readRecordingTraces(const RawData& d, std::vector<RawTraceRecord>& traces, std::string& why);

// Reads single traces of an item's recording in any order, with their own
// records (the samples as readRawTrace gives them: d.samples values).
class RecordingTraceReader {
 public:
  explicit RecordingTraceReader(const RawData& d);
  ~RecordingTraceReader();
  RecordingTraceReader(const RecordingTraceReader&) = delete;
  RecordingTraceReader& operator=(const RecordingTraceReader&) = delete;
  bool isOpen() const { return open_; }
  // Trace `index` (from 0) into `out`; false with the reason when the
  // library cannot read it.
  bool read(int index, RawTraceRecord& out, std::string& why);

 private:
  const RawData& d_;
  std::shared_ptr<const MappedFile> mapped_;
  std::unique_ptr<dv::File> file_;
  bool open_ = false;
};

// What a rewrite writes and what the written files must read back as.
struct RecordingRewrite {
  // A header record of the item's format (not the item's own), with the
  // counts and time axis of the new recording.
  void* header = nullptr;
  // The new recording must read back with these counts.
  int traces = 0, samples = 0;
  // When set, also with this time axis (ns): sample 0 at firstTime, then
  // every interval.
  bool checkTimeAxis = false;
  double firstTime = 0, interval = 1;
  // Trace i of the new recording, in order: at least `samples` values and
  // the trace's own record where the format has one (the GSSI mark, the
  // pulseEKKO, SEG-2 or SEG-Y trace header). The record is the one given
  // for the trace before (reused): every part the format uses must be set. False with the reason stops
  // the rewrite. Left empty, a pulseEKKO or RAMAC recording keeps its data
  // file and only its header file is written; the other formats need it.
  std::function<bool(int i, RawTraceRecord& t, std::string& why)> trace;
  // When set, tried first: writes every trace into the new samples file
  // (`path`, after its header) from the stored bytes. On NotExact the file
  // is cut back to its header and `trace` writes the traces instead.
  std::function<TraceCopy(const std::string& path, std::string& why)> copyTraces;
  // Every sample through the library's trace writers, none of the
  // shortcuts that store the same bytes (a byte copy).
  bool throughLibrary = false;
  // Called before trace i is written (progress lines).
  std::function<void(int i, int traces)> progress;
};

// A header record of the item's format read afresh from its recording into
// `copy` (released with it), to be changed for a rewrite while the item's
// own record stays as it is. False with the reason when it cannot be read.
bool readHeaderCopy(const RawData& d, RawData& copy, std::string& why);

// Writes the recording of `d` again as `r` says. False with the reason
// otherwise (nothing changed then).
bool rewriteRecording(const RawData& d, const RecordingRewrite& r, std::string& why);

// Writes `header` (a record of the item's format) as the recording's header:
// the header file alone for pulseEKKO and RAMAC (traces unused), the header
// and every trace of `traces` for GSSI, SEG-2 and SEG-Y. The written files
// must read back with the item's trace and sample counts. False with the
// reason otherwise (nothing changed then).
bool rewriteRecording(const RawData& d, void* header, std::vector<RawTraceRecord>& traces,
                      std::string& why);

// After a rewrite that changed the counts: the item shows its whole new
// extent, its item file is saved and the item is loaded again from its
// files (its raw window too), so that its traces, samples and times are
// those of the new recording.
void reloadRewrittenItem(RawObject& obj);

// --- what the commands that rewrite raw items share (module state) ----------

// The raw items a command works on: the one item given (unless it is bad),
// or with null every selected raw item that is not bad, after the batch
// selection check (none when that check stops the batch).
std::vector<DvHandle> rawItemsForCommand(DvHandle singleRawItemOrNull);
// The raw item of that name under "Raw Data", null when there is none.
DvHandle rawItemByName(const std::string& name);

// A batch's frame on the message bar: an empty line and "Batch Start" when
// made, "Batch End" and an empty line when it goes (nothing when `batch` is
// false).
class BatchLines {
 public:
  explicit BatchLines(bool batch);
  ~BatchLines();
  BatchLines(const BatchLines&) = delete;
  BatchLines& operator=(const BatchLines&) = delete;

 private:
  bool batch_;
};

// The progress window for as long as it lives, titled `title`; trace()
// shows "Trace %i of %i" every 10th trace.
class TraceProgressWindow {
 public:
  explicit TraceProgressWindow(const char* title);
  ~TraceProgressWindow();
  TraceProgressWindow(const TraceProgressWindow&) = delete;
  TraceProgressWindow& operator=(const TraceProgressWindow&) = delete;
  static void trace(int i, int traces);
};

}  // namespace quv
