// Reverse, Crop and Reorder: a raw item's traces written again in a new
// order, given as a short text of trace numbers and ranges with blank
// traces where asked. The recording is rewritten in its own format
// (processing/recording_rewrite.h) and the item loaded again from it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/dialog.h"
#include "processing/geometry.h"
#include "scrivel/sidecar.h"

namespace quv {

struct RawObject;

// --- the order text (pure) ------------------------------------------------------

// Reads an order text for a recording of `traces` traces: entries separated
// by commas, each a trace number n or a range a-b (running backwards when
// a > b), counted from 1; blanks anywhere are ignored; an entry preceded by
// "!" stands for blank (all-zero) traces in place of the traces it numbers.
// `order` gets one value per trace of the new recording: n for trace n, -n
// for a blank trace in place of trace n. False on a parse error: any other
// character, an empty entry, a number outside 1..traces, a "-" without a
// number before or after it, or a second "-" in one entry.
bool ParseTraceOrder(const std::string& text, int traces, std::vector<int>& order);

// The order text a dialog row starts with: "1-%i" (reorder and crop) or
// "%i-1" (reverse).
enum class OrderMode { Reorder, Reverse };
std::string defaultTraceOrder(OrderMode mode, int traces);

// The trace count a format header record gives, set to `traces` (with the
// pulseEKKO final position following at the unchanged step).
void setRecordingTraceCount(int format, void* header, int traces);

// --- the dialog ----------------------------------------------------------------

struct ReorderRow {
  std::string rawName;
  int traces = 0;
  std::string order;
};

// "Define Trace Order/Crop Parameters": one row per raw item with its trace
// count and its new order (edited). OK parses every row first: the first
// text that does not parse is named in "Error parsing %s." and the dialog
// stays open with nothing changed; otherwise the rows go to `apply` and the
// dialog closes.
class CReorderDlg : public dv::Dialog {
 public:
  enum { IDC_GRID = 23450 };
  enum { kRawCol = 0, kTracesCol = 1, kOrderCol = 2 };
  explicit CReorderDlg(std::vector<ReorderRow> rows);
  bool onInitDialog() override;
  void onGridEdited(int gridId, int row, int col) override;
  void onOK() override;

  std::function<void(const std::vector<ReorderRow>&)> apply;
  const std::vector<ReorderRow>& rows() const { return rows_; }

 private:
  std::vector<ReorderRow> rows_;
};

// --- with the project (module state) ---------------------------------------------

struct RawData;

// Writes the recording of `d` again with one trace per entry of `order`,
// as below, reporting each trace to `progress` when given. GSSI and SEG-Y
// traces are copied as stored bytes, and SEG-2 samples their code holds
// exactly are encoded without the library's rounding, where that gives the
// same file; `throughLibrary` has every trace decoded and encoded by the
// format library instead.
bool reorderRecording(const RawData& d, const std::vector<int>& order, std::string& why,
                      const std::function<void(int trace, int traces)>& progress = {},
                      bool throughLibrary = false);

// Writes the item's recording again with one trace per entry of `order` (as
// ParseTraceOrder gives it), in order: the numbered trace with its marker
// flag and its own trace record, or for a negative entry a trace of zero
// samples that keeps the numbered trace's marker flag and record (so marks
// stay where they were). The item then shows the new recording. False with
// the reason when nothing was changed.
bool ReorderRawTraces(RawObject& obj, const std::vector<int>& order, std::string& why);

// Reverse, Crop, Reorder: the dialog for the one raw item, or with null for
// the selected raw items (a batch, after the batch selection check), then
// one "Reorder: %s %s - Completed" line per row.
void reorderCommand(OrderMode mode, DvHandle singleRawItemOrNull);

// The markers of a recording after a new trace order: each follows its
// trace to the first place the order takes it; a marker on a trace the
// order leaves out (or blanks) is dropped. Returns how many were dropped.
int remapMarkers(std::vector<GeoNode>& markers, const std::vector<int>& order);

// The new place (from 0) of each old trace (from 0) under an order, the
// first place the order takes it to; -1 for a trace left out or blanked.
std::vector<int> newTracePlaces(const std::vector<int>& order);
// The fixes of a sidecar after a new order, alike: each follows its trace
// (counted from 1) to its first new place, in trace order; one on a trace
// left out or blanked is dropped and counted as left out. Returns how many
// were dropped.
int remapFixes(scrivel::sidecar::Summary& s, const std::vector<int>& order);
// After the recording of `d` was written again in `order` (d still the
// item before it is reloaded): its stored sidecar becomes a FIX file whose
// fixes follow their traces, written whole beside it and renamed over it.
// A sidecar that cannot be read is left as it is; the message bar says
// what was dropped, or that positions that cannot be rewritten went.
void carryPositions(const RawData& d, const std::vector<int>& order);

}  // namespace quv
