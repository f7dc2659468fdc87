#include "recording_tool.h"

#include <unistd.h>

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dv/file.h"
#include "module_client.h"
#include "scrivel/describe.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"
#include "scrivel/time_axis.h"

namespace {

using Json = nlohmann::ordered_json;

// A problem that ends the command: its exit code and what to tell the user.
struct Failure {
  int exitCode;
  std::string message;
};

[[noreturn]] void fail(int code, const std::string& message) { throw Failure{code, message}; }

enum class Format { Gssi, Pekko, Ramac, Seg2, Segy };

const char* formatName(Format f) {
  switch (f) {
    case Format::Gssi: return "gssi";
    case Format::Pekko: return "pekko";
    case Format::Ramac: return "ramac";
    case Format::Seg2: return "seg2";
    case Format::Segy: return "segy";
  }
  return "";
}

std::string lower(std::string s) {
  for (char& c : s) c = (char)std::tolower((unsigned char)c);
  return s;
}

const char* const kKnownTypes = "expected .dzt, .hd, .rad, .sg2, .seg2, .dat, .sgy or .segy";

// The format a file name's extension names, in any letter case.
std::optional<Format> formatNamed(const std::string& path) {
  std::string ext = lower(dv::extension(path));
  if (ext == ".dzt") return Format::Gssi;
  if (ext == ".hd") return Format::Pekko;
  if (ext == ".rad") return Format::Ramac;
  if (ext == ".sg2" || ext == ".seg2" || ext == ".dat") return Format::Seg2;
  if (ext == ".sgy" || ext == ".segy") return Format::Segy;
  return std::nullopt;
}

Format formatOf(const std::string& path) {
  if (auto f = formatNamed(path)) return *f;
  fail(1, path + ": unknown file type (" + kKnownTypes + ")");
}

std::string shortest(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

// One trace as the reader handed it out; released with free().
struct Samples {
  float* data = nullptr;
  size_t size = 0;
  Samples() = default;
  Samples(const Samples&) = delete;
  Samples& operator=(const Samples&) = delete;
  ~Samples() { std::free(data); }
  void reset(float* p, size_t n) {
    std::free(data);
    data = p;
    size = n;
  }
};

// ---------------------------------------------------------------------------
// Reading: one class per format, every call through the module's table.

class Source {
 public:
  virtual ~Source() = default;
  int headerStatus = 0;
  int traces = 0;
  int samples = 0;  // per trace (SEG-2: trace 0's)
  double firstNs = 0.0;
  double intervalNs = 1.0;
  // Reads trace `index`; returns the reader's status (samples valid when >= 0).
  virtual int read(int index, Samples& out, int quiet) = 0;
  // The user mark of the trace last read (GSSI marks, pulseEKKO fiducials).
  virtual int lastMark() const { return 0; }
  virtual void describe(scrivel::Fields& out) const = 0;
  // Facts about how the samples were read, beside the header fields.
  virtual void annotate(Json&) const {}

 protected:
  explicit Source(const cli::ScrivelModule& m) : m_(m) {}
  void openData(const std::string& path) {
    if (m_.fn<PfnOpenFile>(SCRIVEL_OpenFileForRead)(path.c_str(), &file_) != 0)
      fail(1, path + ": cannot be opened for reading");
  }
  void setTimeAxis(const scrivel::TimeAxis& t) {
    firstNs = t.firstNs;
    intervalNs = t.intervalNs;
  }
  const cli::ScrivelModule& m_;
  dv::File file_;
};

class GssiSource : public Source {
 public:
  GssiSource(const cli::ScrivelModule& m, const std::string& path) : Source(m), path_(path) {
    headerStatus = m_.fn<PfnReadGssiFHdr>(SCRIVEL_ReadGssiFHdr)(path.c_str(), &h_);
    if (headerStatus < 0) fail(1, path + ": the GSSI header cannot be read (" + std::to_string(headerStatus) + ")");
    traces = h_->traceCount;
    samples = h_->NSamp;
    setTimeAxis(scrivel::timeAxis(*h_));
    openData(path);
  }
  ~GssiSource() override {
    if (h_) m_.fn<PfnCleanupGssiFHdr>(SCRIVEL_CleanupGssiFHdr)(h_);
  }
  int read(int index, Samples& out, int quiet) override {
    float* s = nullptr;
    mark_ = 0;
    int rc = m_.fn<PfnReadGssiTrace>(SCRIVEL_ReadGssiTrace)(path_.c_str(), &file_, h_, index, &mark_, &s, quiet);
    if (rc >= 0) out.reset(s, h_->NSamp);
    return rc;
  }
  int lastMark() const override { return mark_; }
  void describe(scrivel::Fields& out) const override { scrivel::describeGssi(h_, out); }

 private:
  std::string path_;
  GssiFHdr* h_ = nullptr;
  int mark_ = 0;
};

class PekkoSource : public Source {
 public:
  PekkoSource(const cli::ScrivelModule& m, const std::string& path)
      : Source(m), data_(dv::companionFile(path, "DT1")) {
    headerStatus = m_.fn<PfnReadPekkoFHdr>(SCRIVEL_ReadPekkoFHdr)(path.c_str(), &h_);
    if (headerStatus < 0) fail(1, path + ": the pulseEKKO header cannot be read (" + std::to_string(headerStatus) + ")");
    traces = h_->traces;
    samples = h_->points;
    setTimeAxis(scrivel::timeAxis(*h_));
    if (!dv::fileExists(data_)) fail(1, path + ": its data file " + data_ + " is missing");
    openData(data_);
  }
  ~PekkoSource() override { delete h_; }
  int read(int index, Samples& out, int quiet) override {
    float* s = nullptr;
    PekkoTraceHdr* t = nullptr;
    int rc = m_.fn<PfnReadPekkoTrace>(SCRIVEL_ReadPekkoTrace)(data_.c_str(), &file_, h_, &t, index, &s, quiet);
    mark_ = 0;
    if (rc >= 0) {
      out.reset(s, (size_t)h_->points);
      mark_ = t && t->commentFlag == 1.0f && pekkoFiducial(*t);
    }
    delete t;
    return rc;
  }
  int lastMark() const override { return mark_; }
  void describe(scrivel::Fields& out) const override { scrivel::describePekko(h_, out); }

 private:
  std::string data_;
  PekkoFHdr* h_ = nullptr;
  int mark_ = 0;
};

class RamacSource : public Source {
 public:
  RamacSource(const cli::ScrivelModule& m, const std::string& path)
      : Source(m), data_(dv::companionFile(path, "RD3")) {
    headerStatus = m_.fn<PfnReadRamacFHdr>(SCRIVEL_ReadRamacFHdr)(path.c_str(), &h_);
    if (headerStatus < 0) fail(1, path + ": the RAMAC header cannot be read (" + std::to_string(headerStatus) + ")");
    traces = h_->lastTrace;
    samples = h_->samples;
    setTimeAxis(scrivel::timeAxis(*h_));
    if (!dv::fileExists(data_)) fail(1, path + ": its data file " + data_ + " is missing");
    openData(data_);
  }
  ~RamacSource() override { delete h_; }
  int read(int index, Samples& out, int quiet) override {
    float* s = nullptr;
    int rc = m_.fn<PfnReadRamacTrace>(SCRIVEL_ReadRamacTrace)(data_.c_str(), &file_, h_, index, &s, quiet);
    if (rc >= 0) out.reset(s, (size_t)(h_->samples > 0 ? h_->samples : 0));
    return rc;
  }
  void describe(scrivel::Fields& out) const override { scrivel::describeRamac(h_, out); }

 private:
  std::string data_;
  RamacFHdr* h_ = nullptr;
};

class Seg2Source : public Source {
 public:
  Seg2Source(const cli::ScrivelModule& m, const std::string& path) : Source(m), path_(path) {
    headerStatus = m_.fn<PfnReadSeg2FHdr>(SCRIVEL_ReadSeg2FHdr)(path.c_str(), &h_);
    if (headerStatus < 0) fail(1, path + ": the SEG-2 header cannot be read (" + std::to_string(headerStatus) + ")");
    traces = h_->traces;
    openData(path);
    // Samples, first time and interval come from trace 0's descriptor.
    if (traces > 0) {
      Seg2TraceHdr* t = nullptr;
      float* s = nullptr;
      int rc = m_.fn<PfnReadSeg2Trace>(SCRIVEL_ReadSeg2Trace)(path.c_str(), &file_, h_, &t, 0, &s, 0);
      if (rc < 0) fail(1, path + ": trace 1 cannot be read (" + std::to_string(rc) + ")");
      samples = (int)t->samples;
      setTimeAxis(scrivel::timeAxis(*t));
      std::free(s);
      std::free(t);
    }
  }
  ~Seg2Source() override {
    if (h_) m_.fn<PfnCleanupSeg2FHdr>(SCRIVEL_CleanupSeg2FHdr)(h_);
  }
  int read(int index, Samples& out, int quiet) override {
    float* s = nullptr;
    Seg2TraceHdr* t = nullptr;
    int rc = m_.fn<PfnReadSeg2Trace>(SCRIVEL_ReadSeg2Trace)(path_.c_str(), &file_, h_, &t, index, &s, quiet);
    if (rc >= 0) out.reset(s, t->samples);
    std::free(t);
    return rc;
  }
  void describe(scrivel::Fields& out) const override { scrivel::describeSeg2(h_, out); }

 private:
  std::string path_;
  Seg2FHdr* h_ = nullptr;
};

class SegySource : public Source {
 public:
  SegySource(const cli::ScrivelModule& m, const std::string& path) : Source(m), path_(path) {
    headerStatus = m_.fn<PfnReadSegyFHdr>(SCRIVEL_ReadSegyFHdr)(path.c_str(), &h_);
    if (headerStatus < 0) fail(1, path + ": the SEG-Y header cannot be read (" + std::to_string(headerStatus) + ")");
    traces = (int)scrivel::segyTraceCount(*h_);
    samples = h_->samples;
    setTimeAxis(scrivel::timeAxis(*h_));
    openData(path);
  }
  ~SegySource() override { std::free(h_); }
  int read(int index, Samples& out, int quiet) override {
    float* s = nullptr;
    SegyTraceHdr* t = nullptr;
    int rc = m_.fn<PfnReadSegyTrace>(SCRIVEL_ReadSegyTrace)(path_.c_str(), &file_, h_, &t, index, &s, quiet);
    if (rc >= 0) out.reset(s, h_->samples);
    std::free(t);  // also after a failed sample read, which leaves it with us
    return rc;
  }
  void describe(scrivel::Fields& out) const override { scrivel::describeSegy(h_, out); }
  // Which reading the 4-byte floats got: code 1 is decided from the data.
  void annotate(Json& j) const override {
    if (h_->formatCode == SEGY_FLOAT32 || h_->formatCode == SEGY_IEEE32)
      j["float"] = scrivel::segyIbm(*h_) ? "ibm" : "ieee";
  }

 private:
  std::string path_;
  SegyFHdr* h_ = nullptr;
};

// Opens a recording: format by extension, confirmed by its signature test.
// A name with another extension (files cut by other tools, such as
// "x.sgy_first_trace") is taken by the first signature test that accepts
// it, the binary formats before the header text files.
std::unique_ptr<Source> openSource(const cli::ScrivelModule& m, const std::string& path, Format* format) {
  static const int kTest[] = {SCRIVEL_IsGssiFile, SCRIVEL_IsPekkoHdrFile, SCRIVEL_IsRamacHdrFile,
                              SCRIVEL_IsSeg2File, SCRIVEL_IsSegyFile};
  std::optional<Format> named = formatNamed(path);
  if (!named)
    for (Format g : {Format::Segy, Format::Seg2, Format::Gssi, Format::Pekko, Format::Ramac})
      if (m.fn<PfnIsFile>(kTest[(int)g])(path.c_str()) == 0) {
        named = g;
        break;
      }
  if (!named) fail(1, path + ": unknown file type (" + kKnownTypes + ")");
  Format f = *named;
  if (format) *format = f;
  int rc = m.fn<PfnIsFile>(kTest[(int)f])(path.c_str());
  if (rc == SCRIVEL_ERR_OPEN_READ) fail(1, path + ": cannot be opened for reading");
  if (rc != 0) fail(1, path + ": not a " + formatName(f) + " file (" + std::to_string(rc) + ")");
  switch (f) {
    case Format::Gssi: return std::make_unique<GssiSource>(m, path);
    case Format::Pekko: return std::make_unique<PekkoSource>(m, path);
    case Format::Ramac: return std::make_unique<RamacSource>(m, path);
    case Format::Seg2: return std::make_unique<Seg2Source>(m, path);
    case Format::Segy: return std::make_unique<SegySource>(m, path);
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Writing: what the converted recording must hold, and one writer per format.

enum class Kind { Int16, Int32, Float };

struct Plan {
  int traces = 0;
  int samples = 0;
  double firstNs = 0.0;
  double intervalNs = 1.0;
  Kind kind = Kind::Float;  // narrowest sample type that holds every value
  std::string from;         // the source file's name
};

class Sink {
 public:
  virtual ~Sink() = default;
  // Refuses what the format cannot hold; warns about what it loses.
  virtual void check(const Plan& p, double lo, double hi, bool integral) = 0;
  virtual void begin(const Plan& p) = 0;
  virtual void write(int index, const float* samples, int mark) = 0;
  virtual void end() {}
  // (temporary, final) names of the files written.
  std::vector<std::pair<std::string, std::string>> files;

 protected:
  explicit Sink(const cli::ScrivelModule& m) : m_(m) {}
  void need(int rc, const std::string& what) {
    if (rc < 0) fail(1, what + " failed (" + std::to_string(rc) + ")");
  }
  static void checkInt16(const char* format, double lo, double hi, bool integral) {
    if (lo < -32768.0 || hi > 32767.0)
      fail(1, std::string(format) + " holds 16-bit samples (-32768 to 32767); the values run from " +
                  shortest(lo) + " to " + shortest(hi));
    if (!integral) std::fprintf(stderr, "delvar-cli: %s holds integers; samples are rounded\n", format);
  }
  const cli::ScrivelModule& m_;
  dv::File file_;
};

std::string tempName(const std::string& final) {
  return final + ".part" + std::to_string(getpid());
}

class GssiSink : public Sink {
 public:
  GssiSink(const cli::ScrivelModule& m, const std::string& out) : Sink(m) { files.push_back({tempName(out), out}); }
  ~GssiSink() override {
    if (h_) m_.fn<PfnCleanupGssiFHdr>(SCRIVEL_CleanupGssiFHdr)(h_);
  }
  void check(const Plan& p, double lo, double hi, bool integral) override {
    if (p.samples > 65535) fail(1, "GSSI holds at most 65535 samples per trace, not " + std::to_string(p.samples));
    checkInt16("GSSI", lo, hi, integral);
  }
  void begin(const Plan& p) override {
    const std::string& tmp = files[0].first;
    need(m_.fn<PfnCreateGssiFHdr>(SCRIVEL_CreateGssiFHdr)(&h_), "creating the GSSI header");
    h_->NSamp = (uint16_t)p.samples;
    h_->Bits = 16;
    h_->NChan = 1;
    h_->Position = (float)p.firstNs;
    h_->Range = (float)(p.intervalNs * (p.samples > 1 ? p.samples - 1 : 1));
    h_->traceCount = p.traces;
    need(m_.fn<PfnWriteGssiFHdr>(SCRIVEL_WriteGssiFHdr)(tmp.c_str(), h_), "writing the GSSI header");
    need(m_.fn<PfnOpenFile>(SCRIVEL_OpenFileForWrite)(tmp.c_str(), &file_), "opening " + tmp);
  }
  void write(int index, const float* s, int mark) override {
    const std::string& tmp = files[0].first;
    need(m_.fn<PfnWriteGssiTrace>(SCRIVEL_WriteGssiTrace)(tmp.c_str(), &file_, h_, index, mark, const_cast<float*>(s)),
         "writing trace " + std::to_string(index + 1));
  }
  void end() override { file_.close(); }

 private:
  GssiFHdr* h_ = nullptr;
};

class PekkoSink : public Sink {
 public:
  PekkoSink(const cli::ScrivelModule& m, const std::string& out) : Sink(m) {
    files.push_back({tempName(out), out});
    std::string data = dv::companionFile(out, "DT1");
    files.push_back({tempName(data), data});
  }
  ~PekkoSink() override { delete h_; }
  void check(const Plan& p, double lo, double hi, bool integral) override { checkInt16("pulseEKKO", lo, hi, integral); }
  void begin(const Plan& p) override {
    need(m_.fn<PfnCreatePekkoFHdr>(SCRIVEL_CreatePekkoFHdr)(&h_), "creating the pulseEKKO header");
    h_->textLines[0] = "1234";
    h_->textLines[1] = "Converted by delvar_cli from " + safeText(p.from);
    h_->textLineCount = 2;
    std::time_t now = std::time(nullptr);
    char date[32];
    std::strftime(date, sizeof date, "%d/%m/%Y", std::localtime(&now));
    h_->date = date;
    h_->traces = p.traces;
    h_->points = p.samples;
    double window = p.intervalNs * (p.samples > 1 ? p.samples - 1 : 1);
    h_->timeWindow = (int32_t)std::lround(window);
    h_->timeZeroPoint = (int32_t)std::lround(1.0 - p.firstNs / p.intervalNs);
    if (std::fabs(h_->timeWindow - window) > 1e-3 * window || h_->timeWindow <= 0)
      std::fprintf(stderr, "delvar-cli: pulseEKKO keeps the time window in whole ns: %s ns becomes %d ns\n",
                   shortest(window).c_str(), h_->timeWindow);
    h_->stepSize = 1.0f;
    h_->finalPosition = (float)(p.traces > 1 ? p.traces - 1 : 0);
    h_->positionUnits = "m";
    h_->stacks = 1;
    h_->surveyMode = "Reflection";
    need(m_.fn<PfnWritePekkoFHdr>(SCRIVEL_WritePekkoFHdr)(files[0].first.c_str(), h_), "writing the pulseEKKO header");
    need(m_.fn<PfnOpenFile>(SCRIVEL_CreateFileForWrite)(files[1].first.c_str(), &file_), "creating the .DT1 file");
  }
  void write(int index, const float* s, int mark) override {
    PekkoTraceHdr t;
    t.points = (float)h_->points;
    if (mark) {
      t.commentFlag = 1.0f;
      std::memcpy(t.comment, "f", 2);
    }
    need(m_.fn<PfnWritePekkoTrace>(SCRIVEL_WritePekkoTrace)(files[1].first.c_str(), &file_, &t, index, const_cast<float*>(s)),
         "writing trace " + std::to_string(index + 1));
  }
  void end() override { file_.close(); }

 private:
  // A free text line must not pass for the date line ("/" or "-" pairs).
  static std::string safeText(std::string s) {
    for (char& c : s)
      if (c == '/' || c == '-' || (unsigned char)c < 0x20) c = '_';
    return s;
  }
  PekkoFHdr* h_ = nullptr;
};

class RamacSink : public Sink {
 public:
  RamacSink(const cli::ScrivelModule& m, const std::string& out) : Sink(m) {
    files.push_back({tempName(out), out});
    std::string data = dv::companionFile(out, "RD3");
    files.push_back({tempName(data), data});
  }
  ~RamacSink() override { delete h_; }
  void check(const Plan& p, double lo, double hi, bool integral) override {
    checkInt16("RAMAC", lo, hi, integral);
    if (p.firstNs != 0.0)
      std::fprintf(stderr, "delvar-cli: RAMAC starts every trace at 0 ns; the first sample time %s ns is not kept\n",
                   shortest(p.firstNs).c_str());
  }
  void begin(const Plan& p) override {
    need(m_.fn<PfnCreateRamacFHdr>(SCRIVEL_CreateRamacFHdr)(&h_), "creating the RAMAC header");
    h_->samples = p.samples;
    h_->frequency = (float)(1000.0 / p.intervalNs);
    h_->timeWindow = (float)(p.intervalNs * p.samples);
    h_->stacks = 1;
    h_->lastTrace = p.traces;
    h_->comment = " converted by delvar-cli";
    need(m_.fn<PfnWriteRamacFHdr>(SCRIVEL_WriteRamacFHdr)(files[0].first.c_str(), h_), "writing the RAMAC header");
    need(m_.fn<PfnOpenFile>(SCRIVEL_CreateFileForWrite)(files[1].first.c_str(), &file_), "creating the .RD3 file");
  }
  void write(int index, const float* s, int) override {
    need(m_.fn<PfnWriteRamacTrace>(SCRIVEL_WriteRamacTrace)(files[1].first.c_str(), &file_, h_, index, const_cast<float*>(s)),
         "writing trace " + std::to_string(index + 1));
  }
  void end() override { file_.close(); }

 private:
  RamacFHdr* h_ = nullptr;
};

class Seg2Sink : public Sink {
 public:
  Seg2Sink(const cli::ScrivelModule& m, const std::string& out) : Sink(m) { files.push_back({tempName(out), out}); }
  ~Seg2Sink() override {
    if (h_) m_.fn<PfnCleanupSeg2FHdr>(SCRIVEL_CleanupSeg2FHdr)(h_);
  }
  void check(const Plan& p, double, double, bool) override {
    if (p.traces > SEG2_MAX_TRACES)
      fail(1, "SEG-2 holds at most " + std::to_string(SEG2_MAX_TRACES) + " traces (its pointer block is 65,532 bytes), not " +
                  std::to_string(p.traces));
  }
  void begin(const Plan& p) override {
    need(m_.fn<PfnCreateSeg2FHdr>(SCRIVEL_CreateSeg2FHdr)(&h_), "creating the SEG-2 header");
    h_->traces = (uint16_t)p.traces;
    std::free(h_->instrument);
    h_->instrument = strdup((" converted by delvar-cli from " + p.from).c_str());
    need(m_.fn<PfnWriteSeg2FHdr>(SCRIVEL_WriteSeg2FHdr)(files[0].first.c_str(), h_), "writing the SEG-2 header");
    need(m_.fn<PfnOpenFile>(SCRIVEL_OpenFileForWrite)(files[0].first.c_str(), &file_), "opening the SEG-2 file");
    code_ = p.kind == Kind::Int16 ? SEG2_INT16 : p.kind == Kind::Int32 ? SEG2_INT32 : SEG2_FLOAT32;
    interval_ = " " + shortest(p.intervalNs * 1e-9);
    delay_ = " " + shortest(p.firstNs * 1e-9);
  }
  void write(int index, const float* s, int) override {
    Seg2TraceHdr t{};
    t.samples = (uint32_t)samples_;
    t.formatCode = (uint8_t)code_;
    std::string channel = " " + std::to_string(index + 1), one = " 1";
    t.channelNumber = channel.data();
    t.sampleInterval = interval_.data();
    t.delay = delay_.data();
    t.descalingFactor = one.data();
    need(m_.fn<PfnWriteSeg2Trace>(SCRIVEL_WriteSeg2Trace)(files[0].first.c_str(), &file_, h_, &t, index, const_cast<float*>(s)),
         "writing trace " + std::to_string(index + 1));
  }
  void end() override { file_.close(); }
  size_t samples_ = 0;  // of the trace about to be written

 private:
  Seg2FHdr* h_ = nullptr;
  int code_ = SEG2_FLOAT32;
  std::string interval_, delay_;
};

class SegySink : public Sink {
 public:
  // rev1: revision-1 SEG-Y for other tools: big-endian, IEEE floats under
  // code 5, the revision and fixed-length fields set.
  SegySink(const cli::ScrivelModule& m, const std::string& out, bool rev1) : Sink(m), rev1_(rev1) {
    files.push_back({tempName(out), out});
  }
  ~SegySink() override { std::free(h_); }
  void check(const Plan& p, double, double, bool) override {
    if (p.samples > 65535) fail(1, "SEG-Y holds at most 65535 samples per trace, not " + std::to_string(p.samples));
    double field = std::round(p.intervalNs * 1000.0);
    if (field < 1 || field > 65535)
      std::fprintf(stderr,
                   "delvar-cli: SEG-Y keeps the sample interval in 0.001 ns steps up to 65.535 ns; %s ns is not kept\n",
                   shortest(p.intervalNs).c_str());
    if (p.firstNs != 0.0)
      std::fprintf(stderr, "delvar-cli: SEG-Y starts every trace at 0 ns; the first sample time %s ns is not kept\n",
                   shortest(p.firstNs).c_str());
  }
  void begin(const Plan& p) override {
    need(m_.fn<PfnCreateSegyFHdr>(SCRIVEL_CreateSegyFHdr)(&h_), "creating the SEG-Y header");
    std::memset(h_->text, ' ', sizeof h_->text);
    for (int line = 0; line < 40; ++line) {
      std::string card = "C" + std::string(line < 9 ? " " : "") + std::to_string(line + 1) + " ";
      if (line == 0) card += "converted by delvar-cli from " + p.from;
      if (rev1_ && line == 38) card += "SEG Y REV1";
      if (rev1_ && line == 39) card += "END TEXTUAL HEADER";
      std::memcpy(h_->text + 80 * line, card.data(), std::min<size_t>(card.size(), 80));
    }
    double field = std::round(p.intervalNs * 1000.0);
    h_->sampleInterval = h_->origSampleInterval = (uint16_t)(field < 1 ? 1 : field > 65535 ? 65535 : field);
    h_->samples = h_->origSamples = (uint16_t)p.samples;
    h_->formatCode = p.kind == Kind::Int16 ? SEGY_INT16 : p.kind == Kind::Int32 ? SEGY_INT32 : SEGY_FLOAT32;
    h_->traceCount = p.traces;
    h_->measurementSystem = 1;
    if (rev1_) {
      h_->formatCode = SEGY_IEEE32;
      h_->bigEndian = 1;
      // The binary header from 3260 is kept in file order: revision 0x0100
      // at 3500, the fixed-length flag at 3502, no extended text headers.
      h_->rest[3500 - 3260] = 1;
      h_->rest[3503 - 3260] = 1;
    }
    need(m_.fn<PfnWriteSegyFHdr>(SCRIVEL_WriteSegyFHdr)(files[0].first.c_str(), h_), "writing the SEG-Y header");
    need(m_.fn<PfnOpenFile>(SCRIVEL_OpenFileForWrite)(files[0].first.c_str(), &file_), "opening the SEG-Y file");
  }
  void write(int index, const float* s, int) override {
    SegyTraceHdr t{};
    auto* b = reinterpret_cast<uint8_t*>(&t);
    // The trace header is stored as given: its fields in the file's order.
    const bool be = h_->bigEndian != 0;
    auto put = [&](int at, int bytes, uint32_t v) {
      for (int k = 0; k < bytes; ++k) b[at + (be ? bytes - 1 - k : k)] = (uint8_t)(v >> (8 * k));
    };
    put(0, 4, (uint32_t)(index + 1));  // trace sequence number within the line
    put(4, 4, (uint32_t)(index + 1));  // and within the file
    put(28, 2, 1);                     // seismic data
    put(114, 2, h_->samples);
    put(116, 2, h_->sampleInterval);
    need(m_.fn<PfnWriteSegyTrace>(SCRIVEL_WriteSegyTrace)(files[0].first.c_str(), &file_, h_, &t, index, const_cast<float*>(s)),
         "writing trace " + std::to_string(index + 1));
  }
  void end() override { file_.close(); }

 private:
  SegyFHdr* h_ = nullptr;
  bool rev1_ = false;
};

std::unique_ptr<Sink> makeSink(const cli::ScrivelModule& m, const std::string& out, bool segyRev1) {
  if (segyRev1 && formatOf(out) != Format::Segy) fail(2, "--segy-rev1 writes SEG-Y: the output must end .sgy or .segy");
  switch (formatOf(out)) {
    case Format::Gssi: return std::make_unique<GssiSink>(m, out);
    case Format::Pekko: return std::make_unique<PekkoSink>(m, out);
    case Format::Ramac: return std::make_unique<RamacSink>(m, out);
    case Format::Seg2: return std::make_unique<Seg2Sink>(m, out);
    case Format::Segy: return std::make_unique<SegySink>(m, out, segyRev1);
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// The verbs.

void print(const Json& j) {
  std::string s = j.dump(1, ' ', false, Json::error_handler_t::replace);
  std::fwrite(s.data(), 1, s.size(), stdout);
  std::fputc('\n', stdout);
}

int info(const cli::ScrivelModule& m, const std::string& path) {
  Format f;
  auto src = openSource(m, path, &f);
  Json j;
  j["format"] = formatName(f);
  j["traces"] = src->traces;
  j["samples"] = src->samples;
  j["first_time_ns"] = src->firstNs;
  j["interval_ns"] = src->intervalNs;
  j["status"] = src->headerStatus;
  src->annotate(j);
  scrivel::Fields fields;
  src->describe(fields);
  Json header = Json::object();
  for (auto& [label, value] : fields) header[label] = value;
  j["header"] = std::move(header);
  print(j);
  return 0;
}

// A whole decimal number argument, or a usage error.
long argNumber(const char* s, const char* what) {
  long v = 0;
  const char* end = s + std::strlen(s);
  auto r = std::from_chars(s, end, v);
  if (r.ec != std::errc() || r.ptr != end || v < 0) fail(2, std::string(what) + " needs a number from 0 up, not \"" + s + "\"");
  return v;
}

int samples(const cli::ScrivelModule& m, const std::string& path, long trace, long first, long count) {
  auto src = openSource(m, path, nullptr);
  if (trace >= src->traces)
    fail(1, path + " has " + std::to_string(src->traces) + " traces; there is no trace " + std::to_string(trace));
  Samples s;
  int rc = src->read((int)trace, s, 0);
  if (rc < 0) fail(1, path + ": trace " + std::to_string(trace) + " cannot be read (" + std::to_string(rc) + ")");
  if ((size_t)first > s.size)
    fail(1, path + ": trace " + std::to_string(trace) + " has " + std::to_string(s.size) + " samples");
  size_t n = count < 0 ? s.size - first : std::min<size_t>((size_t)count, s.size - first);
  Json a = Json::array();
  for (size_t i = 0; i < n; ++i) a.push_back(s.data[first + i]);
  std::string out = a.dump(-1, ' ', false, Json::error_handler_t::replace);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}

// Minimum, maximum, sum and sum of magnitudes of one trace's finite
// samples. Four independent lanes keep the additions from waiting on each
// other; traces holding NaN or infinity (rare) take a careful loop.
struct TraceStats {
  double lo = std::numeric_limits<double>::infinity(), hi = -lo, sum = 0, sumAbs = 0;
  uint64_t nonFinite = 0;
};

TraceStats traceStats(const float* d, size_t n) {
  TraceStats t;
  float lo[4], hi[4];
  double sum[4] = {0, 0, 0, 0}, abs[4] = {0, 0, 0, 0};
  for (int j = 0; j < 4; ++j) {
    lo[j] = std::numeric_limits<float>::infinity();
    hi[j] = -lo[j];
  }
  size_t k = 0;
  for (; k + 4 <= n; k += 4)
    for (int j = 0; j < 4; ++j) {
      float v = d[k + j];
      lo[j] = v < lo[j] ? v : lo[j];
      hi[j] = v > hi[j] ? v : hi[j];
      sum[j] += v;
      abs[j] += std::fabs(v);
    }
  for (; k < n; ++k) {
    float v = d[k];
    lo[0] = v < lo[0] ? v : lo[0];
    hi[0] = v > hi[0] ? v : hi[0];
    sum[0] += v;
    abs[0] += std::fabs(v);
  }
  for (int j = 0; j < 4; ++j) {
    t.lo = std::min(t.lo, (double)lo[j]);
    t.hi = std::max(t.hi, (double)hi[j]);
  }
  t.sum = (sum[0] + sum[1]) + (sum[2] + sum[3]);
  t.sumAbs = (abs[0] + abs[1]) + (abs[2] + abs[3]);
  if (std::isfinite(t.sumAbs)) return t;

  // A NaN or an infinity made the sums useless: count them and leave them out.
  t = TraceStats{};
  for (k = 0; k < n; ++k) {
    double v = d[k];
    if (!std::isfinite(v)) {
      ++t.nonFinite;
      continue;
    }
    t.lo = std::min(t.lo, v);
    t.hi = std::max(t.hi, v);
    t.sum += v;
    t.sumAbs += std::fabs(v);
  }
  return t;
}

int stats(const cli::ScrivelModule& m, const std::string& path) {
  Format f;
  auto src = openSource(m, path, &f);
  double lo = std::numeric_limits<double>::infinity(), hi = -lo, sum = 0, sumAbs = 0;
  uint64_t count = 0, nonFinite = 0;
  Json problems = Json::array();
  Samples s;
  for (int i = 0; i < src->traces; ++i) {
    // The first ten problems are reported by the reader; later ones quietly.
    int rc = src->read(i, s, problems.size() >= 10);
    if (rc != 0) problems.push_back(Json{{"trace", i}, {"status", rc}});
    if (rc < 0) continue;
    TraceStats t = traceStats(s.data, s.size);
    nonFinite += t.nonFinite;
    lo = std::min(lo, t.lo);
    hi = std::max(hi, t.hi);
    sum += t.sum;
    sumAbs += t.sumAbs;
    count += s.size;
  }
  Json j;
  j["format"] = formatName(f);
  j["traces"] = src->traces;
  j["samples"] = src->samples;
  j["samples_read"] = count;
  j["min"] = count > nonFinite ? Json(lo) : Json();
  j["max"] = count > nonFinite ? Json(hi) : Json();
  j["sum"] = sum;
  j["sum_abs"] = sumAbs;
  j["non_finite"] = nonFinite;
  j["problems"] = std::move(problems);
  print(j);
  return 0;
}

int convert(const cli::ScrivelModule& m, const std::string& in, const std::string& out, bool segyRev1) {
  auto src = openSource(m, in, nullptr);
  auto sink = makeSink(m, out, segyRev1);
  auto* seg2 = dynamic_cast<Seg2Sink*>(sink.get());

  // First pass: what the values need, and that every trace reads.
  double lo = std::numeric_limits<double>::infinity(), hi = -lo;
  bool integral = true;
  Samples s;
  for (int i = 0; i < src->traces; ++i) {
    int rc = src->read(i, s, 0);
    if (rc < 0) fail(1, in + ": trace " + std::to_string(i) + " cannot be read (" + std::to_string(rc) + ")");
    if (!seg2 && s.size != (size_t)src->samples)
      fail(1, in + ": trace " + std::to_string(i) + " has " + std::to_string(s.size) + " samples, not " +
                  std::to_string(src->samples) + "; only SEG-2 holds traces of different lengths");
    for (size_t k = 0; k < s.size; ++k) {
      double v = s.data[k];
      if (!std::isfinite(v)) fail(1, in + ": trace " + std::to_string(i) + " holds a value that is not a finite number");
      lo = std::min(lo, v);
      hi = std::max(hi, v);
      integral = integral && v == std::floor(v);
    }
  }
  if (src->traces == 0) lo = hi = 0;
  Plan plan;
  plan.traces = src->traces;
  plan.samples = src->samples;
  plan.firstNs = src->firstNs;
  plan.intervalNs = src->intervalNs;
  plan.from = dv::baseName(in);
  plan.kind = integral && lo >= -32768 && hi <= 32767           ? Kind::Int16
              : integral && lo >= -2147483648.0 && hi <= 2147483647.0 ? Kind::Int32
                                                                      : Kind::Float;
  sink->check(plan, lo, hi, integral);

  // Second pass: written to temporary files, renamed over the targets when whole.
  try {
    sink->begin(plan);
    for (int i = 0; i < src->traces; ++i) {
      int rc = src->read(i, s, 0);
      if (rc < 0) fail(1, in + ": trace " + std::to_string(i) + " cannot be read (" + std::to_string(rc) + ")");
      if (seg2) seg2->samples_ = s.size;
      sink->write(i, s.data, src->lastMark());
    }
    sink->end();
    for (auto it = sink->files.rbegin(); it != sink->files.rend(); ++it)
      if (!dv::renameFile(it->first, it->second)) fail(1, "cannot rename " + it->first + " to " + it->second);
  } catch (...) {
    for (auto& [tmp, final] : sink->files) dv::removeFile(tmp);
    throw;
  }
  return 0;
}

int usage() {
  std::fprintf(stderr,
               "usage: delvar-cli info FILE\n"
               "       delvar-cli samples FILE --trace N [--first K] [--count C]\n"
               "       delvar-cli stats FILE\n"
               "       delvar-cli convert IN OUT [--segy-rev1]\n");
  return 2;
}

}  // namespace

int runInspector(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string verb = argv[1];
  try {
    long trace = -1, first = 0, count = -1;
    bool segyRev1 = false;
    if (verb == "samples") {
      for (int i = 3; i < argc; ++i) {
        std::string opt = argv[i];
        if (i + 1 >= argc) return usage();
        if (opt == "--trace")
          trace = argNumber(argv[++i], "--trace");
        else if (opt == "--first")
          first = argNumber(argv[++i], "--first");
        else if (opt == "--count")
          count = argNumber(argv[++i], "--count");
        else
          return usage();
      }
      if (trace < 0) return usage();
    } else if (verb == "info" || verb == "stats") {
      if (argc != 3) return usage();
    } else if (verb == "convert") {
      if (argc == 5 && std::strcmp(argv[4], "--segy-rev1") == 0)
        segyRev1 = true;
      else if (argc != 4)
        return usage();
    } else {
      return usage();
    }

    cli::ScrivelModule module;
    std::string error;
    if (!module.load(&error)) fail(1, error);
    if (verb == "info") return info(module, argv[2]);
    if (verb == "samples") return samples(module, argv[2], trace, first, count);
    if (verb == "stats") return stats(module, argv[2]);
    return convert(module, argv[2], argv[3], segyRev1);
  } catch (const Failure& f) {
    std::fprintf(stderr, "delvar-cli: %s\n", f.message.c_str());
    if (f.exitCode == 2) usage();
    return f.exitCode;
  }
}
