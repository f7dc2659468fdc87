// Resample: every trace of a raw item written again on a new time axis (new
// start time, end time and time increment) by linear interpolation between
// the old samples, zero outside them. The recording is rewritten in its own
// format with the header fields that express the new axis
// (processing/recording_rewrite.h), and the item loaded again from it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/dialog.h"

namespace quv {

struct RawObject;
struct RawTraceRecord;

// --- the rules (pure) ----------------------------------------------------------

// The most samples per trace a resampled recording may hold.
inline constexpr int kMaxResampledSamples = 65535;

// The new samples per trace for T0 to T1 every dT: ceil(k / 1000) with k the
// integer part of ((T1 - T0) / dT + 1) x 1000, so that a quotient within
// rounding of a whole number is not rounded up. 0 when T1 is before T0 or a
// value is no number; the count is capped just above kMaxResampledSamples.
int resampledSampleCount(double T0, double T1, double dT);
// GSSI recordings hold 128, 256, 512, 1024 or 2048 samples: the count is
// raised to the next of these, and any count above 1024 becomes 2048.
int gssiSampleCount(int samples);

// One trace: `in` holds M samples from t0 every dt; `out` gets newM samples
// from T0 every dT. For new sample j at t = T0 + j dT, k is (t - t0) / dt
// rounded toward zero, a the old sample k (0 outside 0..M-1), b the old
// sample k + 1 (0 outside), and the value a + (b - a)(t - t_k) / dt: a start
// less than dt before t0 extrapolates from the first two samples.
void resampleTrace(const float* in, int M, double t0, double dt, float* out, int newM, double T0,
                   double dT);

// The same rule for many traces on the same two axes: where each new
// sample falls is worked out once.
class TraceResampler {
 public:
  TraceResampler(int M, double t0, double dt, int newM, double T0, double dT);
  // `in` holds M samples, `out` gets newM.
  void apply(const float* in, float* out);

 private:
  int M_;
  std::vector<int> at_;         // per new sample: index of a in padded_
  std::vector<double> weight_;  // (t - t_k) / dt
  std::vector<float> padded_;   // two zeros, the M samples, two zeros
};

// Why a format's header cannot record `samples` samples from T0 every dT
// ("" when it can): pulseEKKO headers hold the time window in whole
// nanoseconds and time zero at a sample, RAMAC and SEG-Y headers no start
// time, SEG-Y the increment in whole picoseconds up to 65535.
std::string timeAxisFault(int format, int samples, double T0, double dT);
// Sets the fields of a format's header record that express the axis.
void setRecordingTimeAxis(int format, void* header, int samples, double T0, double dT);

// --- the dialog ----------------------------------------------------------------

struct ResampleRow {
  std::string rawName;
  int format = -1;
  double startTime = 0, endTime = 0, increment = 1;           // the item's
  double newStartTime = 0, newEndTime = 0, newIncrement = 1;  // as chosen
};
// Why a row's new values cannot be used (its item's format given): a new
// end time before the new start time, more than kMaxResampledSamples
// samples, or an axis the header cannot record. "" when they can.
std::string resampleRowFault(const ResampleRow& row);

// "Define Trace Time Window/Sample Rate Parameters": per raw item its start
// time, end time and time increment, and the three new values (edited,
// read with atof; a cell left as shown keeps the item's exact value). OK
// refuses a new increment of 0 or less ("Only positive time increments are
// allowed"), a new end time before the new start time, too many samples and
// an axis the item's header cannot record, each in a message box with
// nothing changed and the dialog left open; otherwise the rows go to
// `apply` and the dialog closes.
class CResampleDlg : public dv::Dialog {
 public:
  enum { IDC_GRID = 23460 };
  enum {
    kRawCol = 0,
    kStartCol,
    kEndCol,
    kIncCol,
    kNewStartCol,
    kNewEndCol,
    kNewIncCol,
    kColumns
  };
  explicit CResampleDlg(std::vector<ResampleRow> rows);
  bool onInitDialog() override;
  void onGridEdited(int gridId, int row, int col) override;
  void onOK() override;

  std::function<void(const std::vector<ResampleRow>&)> apply;
  const std::vector<ResampleRow>& rows() const { return rows_; }

 private:
  std::string shown(size_t row, int col) const;
  std::vector<ResampleRow> rows_;
};

// --- with the project (module state) ---------------------------------------------

struct RawData;

// Writes the recording of `d` again with `samples` samples from T0 every dT,
// as below, reporting each trace to `progress` when given.
bool resampleRecording(const RawData& d, int samples, double T0, double dT, std::string& why,
                       const std::function<void(int trace, int traces)>& progress = {});

// Writes every trace of the item's recording again with `samples` samples
// from T0 every dT ("Resampling Raw Data", "Trace %i of %i"); the item then
// shows the new recording. False with the reason when nothing was changed.
bool ResampleRawTraces(RawObject& obj, int samples, double T0, double dT, std::string& why);

// Resample: the dialog for the one raw item, or with null for the selected
// raw items (a batch), then one "Resample: %s %f %f %f - Completed" line per
// row.
void resampleCommand(DvHandle singleRawItemOrNull);

}  // namespace quv
