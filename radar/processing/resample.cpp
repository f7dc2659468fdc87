// Resample: the sample count rule, the interpolation, the header fields of
// each format that express a time axis, the rewrite of the recording and the
// command with its batch lines.
#include "processing/resample.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

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

// Within a thousandth of a whole number (typed values have three decimals).
bool nearlyWhole(double v) { return std::fabs(v - std::round(v)) <= 1e-3; }

// A 16-bit field of a stored SEG-Y trace header, in the file's byte order.
void putSegy16(uint8_t* at, int value, bool bigEndian) {
  const auto v = uint16_t(value);
  at[bigEndian ? 0 : 1] = uint8_t(v >> 8);
  at[bigEndian ? 1 : 0] = uint8_t(v & 0xFF);
}

// SEG-2 keyword values: a blank, then the number in seconds.
std::string seg2Seconds(double ns) {
  char text[40] = " ";
  auto r = std::to_chars(text + 1, text + sizeof text - 1, ns * 1e-9);
  *r.ptr = 0;
  return text;
}

}  // namespace

int resampledSampleCount(double T0, double T1, double dT) {
  if (!std::isfinite(T0) || !std::isfinite(T1) || !std::isfinite(dT) || dT <= 0 || T1 < T0)
    return 0;
  const double scaled = ((T1 - T0) / dT + 1.0) * 1000.0;
  if (!(scaled < (kMaxResampledSamples + 1.0) * 1000.0)) return kMaxResampledSamples + 1;
  const auto k = static_cast<int64_t>(scaled);
  return int((k + 999) / 1000);
}

int gssiSampleCount(int samples) {
  for (int n : {128, 256, 512, 1024})
    if (samples <= n) return n;
  return 2048;
}

TraceResampler::TraceResampler(int M, double t0, double dt, int newM, double T0, double dT)
    : M_(std::max(M, 0)),
      at_(size_t(std::max(newM, 0))),
      weight_(at_.size()),
      padded_(size_t(M_) + 4, 0.0f) {
  for (size_t j = 0; j < at_.size(); ++j) {
    const double t = T0 + double(j) * dT;
    // Far outside the old samples every value is 0: k is kept within reach
    // of them (-2 and M read two zeros) before it becomes an integer.
    const double q = std::clamp((t - t0) / dt, -2.5, double(M_) + 0.5);
    const auto k = static_cast<int64_t>(q);  // toward zero
    at_[j] = int(k) + 2;
    weight_[j] = (t - (t0 + double(k) * dt)) / dt;
  }
}

void TraceResampler::apply(const float* in, float* out) {
  // a = padded_[at], b = padded_[at + 1]: the zeros stand for the samples
  // before the first and after the last.
  std::copy(in, in + M_, padded_.begin() + 2);
  const float* p = padded_.data();
  const int* at = at_.data();
  const double* w = weight_.data();
  for (size_t j = 0; j < at_.size(); ++j) {
    const double a = p[at[j]], b = p[at[j] + 1];
    out[j] = float(a + (b - a) * w[j]);
  }
}

void resampleTrace(const float* in, int M, double t0, double dt, float* out, int newM, double T0,
                   double dT) {
  TraceResampler(M, t0, dt, newM, T0, dT).apply(in, out);
}

std::string timeAxisFault(int format, int samples, double T0, double dT) {
  char text[240];
  const bool startsAtZero = std::fabs(T0) <= 1e-4 * dT;
  switch (format) {
    case kRawPekko: {
      const double window = (samples - 1) * dT, zero = 1.0 - T0 / dT;
      if (samples < 2) return "a pulseEKKO header gives the time increment over at least 2 samples";
      if (!nearlyWhole(window) || window > INT_MAX) {
        std::snprintf(text, sizeof text,
                      "a pulseEKKO header holds the time window in whole nanoseconds, and %i "
                      "samples every %.3f ns span %.3f ns",
                      samples, dT, window);
        return text;
      }
      if (!nearlyWhole(zero) || std::fabs(zero) > INT_MAX)
        return "a pulseEKKO header holds time zero at a sample, so the new start time must be a "
               "whole number of time increments from 0";
      return "";
    }
    case kRawRamac:
      if (!startsAtZero) return "a RAMAC header holds no start time, so the new start time must be 0";
      return "";
    case kRawSegy: {
      if (!startsAtZero) return "a SEG-Y header holds no start time, so the new start time must be 0";
      const double ps = dT * 1000.0;
      if (!nearlyWhole(ps) || std::round(ps) < 1 || std::round(ps) > 65535)
        return "a SEG-Y header holds the time increment in whole picoseconds from 1 to 65535";
      return "";
    }
  }
  return "";
}

void setRecordingTimeAxis(int format, void* header, int samples, double T0, double dT) {
  switch (format) {
    case kRawGssi: {
      auto* h = static_cast<GssiFHdr*>(header);
      h->NSamp = uint16_t(samples);
      h->Range = float((samples - 1) * dT);
      h->Position = float(T0);
      break;
    }
    case kRawPekko: {
      auto* h = static_cast<PekkoFHdr*>(header);
      h->points = samples;
      h->timeWindow = int32_t(std::lround((samples - 1) * dT));
      h->timeZeroPoint = int32_t(std::lround(1.0 - T0 / dT));
      break;
    }
    case kRawRamac: {
      auto* h = static_cast<RamacFHdr*>(header);
      h->samples = samples;
      h->frequency = float(1000.0 / dT);
      h->timeWindow = float((samples - 1) * dT);
      break;
    }
    case kRawSegy: {
      auto* h = static_cast<SegyFHdr*>(header);
      h->samples = uint16_t(samples);
      h->sampleInterval = uint16_t(std::lround(dT * 1000.0));
      break;
    }
  }
}

bool resampleRecording(const RawData& d, int samples, double T0, double dT, std::string& why,
                       const std::function<void(int, int)>& progress) {
  why = samples < 1 || samples > kMaxResampledSamples
            ? "at most " + std::to_string(kMaxResampledSamples) + " samples per trace are allowed"
            : timeAxisFault(d.format, samples, T0, dT);
  if (!why.empty()) return false;
  RawData fresh;
  if (!readHeaderCopy(d, fresh, why)) return false;
  setRecordingTimeAxis(d.format, fresh.header, samples, T0, dT);
  // What the trace records of pulseEKKO, SEG-2 and SEG-Y say of the axis.
  const std::string delay = seg2Seconds(T0), interval = seg2Seconds(dT);
  const bool bigEndian = d.format == kRawSegy && static_cast<SegyFHdr*>(fresh.header)->bigEndian;
  const float window = float((samples - 1) * dT);
  uint32_t windowBits;
  std::memcpy(&windowBits, &window, 4);
  RecordingTraceReader reader(d);
  TraceResampler resampler(d.samples, d.firstTime, d.interval, samples, T0, dT);
  std::vector<float> out;
  RecordingRewrite r;
  r.header = fresh.header;
  r.traces = d.traces;
  r.samples = samples;
  r.checkTimeAxis = true;
  r.firstTime = T0;
  r.interval = dT;
  r.trace = [&](int i, RawTraceRecord& t, std::string& fault) {
    if (!reader.read(i, t, fault)) return false;
    // The old trace as the item holds it: d.samples values.
    t.samples.resize(size_t(std::max(d.samples, 0)), 0.0f);
    out.resize(size_t(samples));
    resampler.apply(t.samples.data(), out.data());
    t.samples.swap(out);
    if (t.pekko) {
      // Bytes 24 to 27 of a pulseEKKO trace header: its time window.
      for (int b = 0; b < 4; ++b) t.pekko->bytes24[b] = uint8_t(windowBits >> (8 * b));
    }
    if (t.seg2) {
      if (t.seg2->formatCode == SEG2_FLOAT20 && samples % 4 != 0) {
        fault = "SEG-2 traces in the 20-bit code hold a multiple of 4 samples";
        return false;
      }
      t.seg2->samples = uint32_t(samples);
      t.seg2->delay = const_cast<char*>(delay.c_str());
      t.seg2->sampleInterval = const_cast<char*>(interval.c_str());
    }
    if (t.segy) {
      auto* h = reinterpret_cast<uint8_t*>(t.segy.get());
      putSegy16(h + 108, 0, bigEndian);  // delay recording time
      putSegy16(h + 114, samples, bigEndian);
      putSegy16(h + 116, static_cast<SegyFHdr*>(fresh.header)->sampleInterval, bigEndian);
    }
    return true;
  };
  r.progress = progress;
  return rewriteRecording(d, r, why);
}

bool ResampleRawTraces(RawObject& obj, int samples, double T0, double dT, std::string& why) {
  if (!obj.data) {
    why = "its recording could not be read";
    return false;
  }
  bool ok;
  {
    TraceProgressWindow progress(kMsgResamplingRawData);
    ok = resampleRecording(*obj.data, samples, T0, dT, why, TraceProgressWindow::trace);
  }
  if (ok) reloadRewrittenItem(obj);
  return ok;
}

namespace {

// The samples per trace a row makes, with the GSSI counts; `cut` when a GSSI
// recording cannot hold the new end time.
int rowSamples(const ResampleRow& row, bool* cut = nullptr) {
  int n = resampledSampleCount(row.newStartTime, row.newEndTime, row.newIncrement);
  if (cut) *cut = false;
  if (row.format == kRawGssi && n >= 1) {
    if (cut) *cut = n > 2048;
    n = gssiSampleCount(n);
  }
  return n;
}

void resampleRows(const std::vector<ResampleRow>& rows, bool batch) {
  BatchLines lines(batch);
  for (const ResampleRow& row : rows) {
    DvHandle item = rawItemByName(row.rawName);
    RawObject* obj = item ? rawObjectOf(item) : nullptr;
    if (!obj) continue;  // gone meanwhile: nothing to do
    bool cut = false;
    const int samples = rowSamples(row, &cut);
    const char* name = row.rawName.c_str();
    const double T0 = row.newStartTime, T1 = row.newEndTime, dT = row.newIncrement;
    std::string why;
    if (!ResampleRawTraces(*obj, samples, T0, dT, why)) {
      msg(DV_MSG_PLAIN, kMsgResampleFailed, name, T0, T1, dT, why.c_str());
      continue;
    }
    msg(DV_MSG_PLAIN, kMsgResampleCompleted, name, T0, T1, dT);
    if (cut) msg(DV_MSG_PLAIN, kMsgResampleEndTimeCut, name, T0 + (samples - 1) * dT, T1);
  }
}

}  // namespace

std::string resampleRowFault(const ResampleRow& row) {
  const int samples = rowSamples(row);
  if (samples < 1) return "the new end time is before the new start time";
  if (samples > kMaxResampledSamples)
    return "at most " + std::to_string(kMaxResampledSamples) + " samples per trace are allowed";
  return timeAxisFault(row.format, samples, row.newStartTime, row.newIncrement);
}

void resampleCommand(DvHandle singleRawItemOrNull) {
  std::vector<ResampleRow> rows;
  for (DvHandle it : rawItemsForCommand(singleRawItemOrNull)) {
    const RawObject* obj = rawObjectOf(it);
    if (!obj || !obj->data) continue;
    const RawData& d = *obj->data;
    ResampleRow row;
    row.rawName = treeName(it);
    row.format = d.format;
    row.startTime = row.newStartTime = d.firstTime;
    row.endTime = row.newEndTime = double(d.firstTime) + double(d.samples - 1) * d.interval;
    row.increment = row.newIncrement = d.interval;
    rows.push_back(row);
  }
  if (rows.empty()) return;
  const bool batch = singleRawItemOrNull == nullptr;
  CResampleDlg dlg(std::move(rows));
  dlg.apply = [batch](const std::vector<ResampleRow>& chosen) { resampleRows(chosen, batch); };
  dlg.doModal();
}

}  // namespace quv
