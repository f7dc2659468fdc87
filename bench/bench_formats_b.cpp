// Throughput of the SEG-2 and SEG-Y readers and writers on synthetic lines
// of 1,024 samples per trace (SEG-2: 16,383 traces, the most its pointer
// block holds, 32-bit floats; SEG-Y: 20,000 traces, IEEE floats), each
// against a plain loop over the same bytes in the same run: fread of every
// trace's samples and conversion to float, or fwrite of the same bytes.
// The ratios are printed at the end; each reader should stay at or above
// one third of its baseline.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "dv/file.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"
#include "synth.h"

namespace {

constexpr int kSamples = 1024;
constexpr int kSeg2Traces = SEG2_MAX_TRACES;
constexpr int kSegyTraces = 20000;

std::string benchPath(const char* name) { return std::string("/tmp/delvar_bench_") + name; }

synth::LineRecipe recipe(int traces, int bits) {
  synth::LineRecipe s;
  s.traces = traces;
  s.samples = kSamples;
  s.bits = bits;
  s.markEvery = 0;
  return s;
}

// The IEEE line rewritten with IBM floats under code 1, as other software
// writes it; the reader decides IBM from its words.
void writeIbmCopy(const std::string& from, const std::string& to) {
  SegyFHdr* h = nullptr;
  if (ReadSegyFHdr(from.c_str(), &h) != 0) std::exit(1);
  dv::File in, out;
  OpenFileForRead(from.c_str(), &in);
  const int traces = h->traceCount;
  h->floatFormat = SEGY_FLOAT_IBM;
  if (WriteSegyFHdr(to.c_str(), h) != 0 || OpenFileForWrite(to.c_str(), &out) != 0) std::exit(1);
  for (int i = 0; i < traces; ++i) {
    SegyTraceHdr* t = nullptr;
    float* s = nullptr;
    h->floatFormat = SEGY_FLOAT_IEEE;
    if (ReadSegyTrace(from.c_str(), &in, h, &t, i, &s, 1) != 0) std::exit(1);
    h->floatFormat = SEGY_FLOAT_IBM;
    WriteSegyTrace(to.c_str(), &out, h, t, i, s);
    std::free(s);
    std::free(t);
  }
  std::free(h);
}

// The recordings, written once per run.
struct Files {
  std::string seg2 = benchPath("line.sg2"), segy = benchPath("line.sgy"), segyIbm = benchPath("ibm.sgy");
  std::vector<uint64_t> seg2Data;  // file offset of each SEG-2 trace's samples
  int64_t seg2Bytes = 0, segyBytes = 0;
  Files() {
    if (synth::writeSeg2(seg2, recipe(kSeg2Traces, SEG2_FLOAT32)) < 0 ||
        synth::writeSegy(segy, recipe(kSegyTraces, SEGY_FLOAT32)) < 0) {
      std::fprintf(stderr, "cannot write the benchmark files in /tmp\n");
      std::exit(1);
    }
    Seg2FHdr* h = nullptr;
    ReadSeg2FHdr(seg2.c_str(), &h);
    dv::File f;
    OpenFileForRead(seg2.c_str(), &f);
    for (int i = 0; i < h->traces; ++i) {
      uint8_t d[4];
      f.seek(h->tracePointers[i] + 2);
      f.read(d, 2);
      seg2Data.push_back(h->tracePointers[i] + (uint64_t)(d[0] | d[1] << 8));
    }
    CleanupSeg2FHdr(h);
    writeIbmCopy(segy, segyIbm);
    seg2Bytes = dv::fileSize(seg2);
    segyBytes = dv::fileSize(segy);
  }
};

Files& files() {
  static Files f;
  return f;
}

// Baseline reading: per trace, seek to its samples, fread them, make floats.
void baselineRead(benchmark::State& state, const std::string& path, const std::vector<uint64_t>& at,
                  int64_t bytes) {
  std::vector<uint8_t> raw(4 * kSamples);
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::vector<char> buf(1 << 16);
    std::setvbuf(f, buf.data(), _IOFBF, buf.size());
    double sum = 0;
    for (uint64_t off : at) {
      std::fseek(f, (long)off, SEEK_SET);
      if (std::fread(raw.data(), 1, raw.size(), f) != raw.size()) state.SkipWithError("short read");
      float* s = static_cast<float*>(std::malloc(4 * kSamples));
      for (int k = 0; k < kSamples; ++k) {
        uint32_t u = raw[4 * k] | raw[4 * k + 1] << 8 | raw[4 * k + 2] << 16 | (uint32_t)raw[4 * k + 3] << 24;
        std::memcpy(&s[k], &u, 4);
      }
      sum += s[kSamples / 2];
      std::free(s);
    }
    benchmark::DoNotOptimize(sum);
    std::fclose(f);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_Seg2ReadBaseline(benchmark::State& state) {
  baselineRead(state, files().seg2, files().seg2Data, files().seg2Bytes);
}

void BM_Seg2Read(benchmark::State& state) {
  const std::string& p = files().seg2;
  for (auto _ : state) {
    Seg2FHdr* h = nullptr;
    ReadSeg2FHdr(p.c_str(), &h);
    dv::File f;
    OpenFileForRead(p.c_str(), &f);
    double sum = 0;
    for (int i = 0; i < h->traces; ++i) {
      Seg2TraceHdr* t = nullptr;
      float* s = nullptr;
      if (ReadSeg2Trace(p.c_str(), &f, h, &t, i, &s, 1) != 0) state.SkipWithError("trace read failed");
      sum += s[kSamples / 2];
      std::free(s);
      std::free(t);
    }
    benchmark::DoNotOptimize(sum);
    CleanupSeg2FHdr(h);
  }
  state.SetBytesProcessed(state.iterations() * files().seg2Bytes);
}

void BM_SegyReadBaseline(benchmark::State& state) {
  static std::vector<uint64_t> at = [] {
    std::vector<uint64_t> v;
    for (int i = 0; i < kSegyTraces; ++i) v.push_back(3600 + 240 + (uint64_t)i * (240 + 4 * kSamples));
    return v;
  }();
  baselineRead(state, files().segy, at, files().segyBytes);
}

// The library's reader over every trace of `p`.
void readSegy(benchmark::State& state, const std::string& p, bool ibm) {
  for (auto _ : state) {
    SegyFHdr* h = nullptr;
    ReadSegyFHdr(p.c_str(), &h);
    if ((h->floatFormat == SEGY_FLOAT_IBM) != ibm) state.SkipWithError("the float reading is not the one written");
    dv::File f;
    OpenFileForRead(p.c_str(), &f);
    double sum = 0;
    for (int i = 0; i < h->traceCount; ++i) {
      SegyTraceHdr* t = nullptr;
      float* s = nullptr;
      if (ReadSegyTrace(p.c_str(), &f, h, &t, i, &s, 1) != 0) state.SkipWithError("trace read failed");
      sum += s[kSamples / 2];
      std::free(s);
      std::free(t);
    }
    benchmark::DoNotOptimize(sum);
    std::free(h);
  }
  state.SetBytesProcessed(state.iterations() * files().segyBytes);
}

void BM_SegyRead(benchmark::State& state) { readSegy(state, files().segy, false); }

// Baseline for IBM floats: per trace, seek, fread, and the plain
// sign x fraction x 16^(exponent - 64) of every word.
void BM_SegyIbmReadBaseline(benchmark::State& state) {
  std::vector<uint8_t> raw(4 * kSamples);
  for (auto _ : state) {
    std::FILE* f = std::fopen(files().segyIbm.c_str(), "rb");
    std::vector<char> buf(1 << 16);
    std::setvbuf(f, buf.data(), _IOFBF, buf.size());
    double sum = 0;
    for (int i = 0; i < kSegyTraces; ++i) {
      std::fseek(f, (long)(3600 + 240 + (uint64_t)i * (240 + 4 * kSamples)), SEEK_SET);
      if (std::fread(raw.data(), 1, raw.size(), f) != raw.size()) state.SkipWithError("short read");
      float* s = static_cast<float*>(std::malloc(4 * kSamples));
      for (int k = 0; k < kSamples; ++k) {
        uint32_t u = raw[4 * k] | raw[4 * k + 1] << 8 | raw[4 * k + 2] << 16 | (uint32_t)raw[4 * k + 3] << 24;
        double v = std::ldexp((double)(u & 0xFFFFFF), 4 * (int)((u >> 24) & 0x7F) - 280);
        s[k] = (float)(u >> 31 ? -v : v);
      }
      sum += s[kSamples / 2];
      std::free(s);
    }
    benchmark::DoNotOptimize(sum);
    std::fclose(f);
  }
  state.SetBytesProcessed(state.iterations() * files().segyBytes);
}

void BM_SegyIbmRead(benchmark::State& state) { readSegy(state, files().segyIbm, true); }

// Baseline writing: the same number of bytes in trace-sized fwrite calls.
void baselineWrite(benchmark::State& state, int traces, size_t traceBytes, int64_t bytes) {
  const std::string out = benchPath("baseline.out");
  std::vector<float> s(kSamples);
  for (int k = 0; k < kSamples; ++k) s[k] = synth::amplitude(recipe(traces, 4), 0, k);
  std::vector<uint8_t> raw(traceBytes, 0);
  for (auto _ : state) {
    std::FILE* f = std::fopen(out.c_str(), "wb");
    std::vector<char> buf(1 << 16);
    std::setvbuf(f, buf.data(), _IOFBF, buf.size());
    for (int i = 0; i < traces; ++i) {
      for (int k = 0; k < kSamples; ++k) {
        uint32_t u;
        std::memcpy(&u, &s[k], 4);
        for (int b = 0; b < 4; ++b) raw[traceBytes - 4 * kSamples + 4 * k + b] = (uint8_t)(u >> (8 * b));
      }
      std::fwrite(raw.data(), 1, raw.size(), f);
    }
    std::fclose(f);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_Seg2WriteBaseline(benchmark::State& state) {
  baselineWrite(state, kSeg2Traces, (size_t)(files().seg2Bytes / kSeg2Traces), files().seg2Bytes);
}

void BM_Seg2Write(benchmark::State& state) {
  const std::string out = benchPath("write.sg2");
  const std::string& in = files().seg2;
  // The traces as read, written back: the writer's own cost.
  Seg2FHdr* h = nullptr;
  ReadSeg2FHdr(in.c_str(), &h);
  std::vector<Seg2TraceHdr*> th(h->traces);
  std::vector<float*> s(h->traces);
  {
    dv::File f;
    OpenFileForRead(in.c_str(), &f);
    for (int i = 0; i < h->traces; ++i) ReadSeg2Trace(in.c_str(), &f, h, &th[i], i, &s[i], 1);
  }
  for (auto _ : state) {
    WriteSeg2FHdr(out.c_str(), h);
    dv::File f;
    OpenFileForWrite(out.c_str(), &f);
    for (int i = 0; i < h->traces; ++i) WriteSeg2Trace(out.c_str(), &f, h, th[i], i, s[i]);
  }
  state.SetBytesProcessed(state.iterations() * files().seg2Bytes);
  for (int i = 0; i < h->traces; ++i) {
    std::free(th[i]);
    std::free(s[i]);
  }
  CleanupSeg2FHdr(h);
}

void BM_SegyWriteBaseline(benchmark::State& state) {
  baselineWrite(state, kSegyTraces, 240 + 4 * kSamples, files().segyBytes);
}

void BM_SegyWrite(benchmark::State& state) {
  const std::string out = benchPath("write.sgy");
  const std::string& in = files().segy;
  SegyFHdr* h = nullptr;
  ReadSegyFHdr(in.c_str(), &h);
  std::vector<SegyTraceHdr*> th(h->traceCount);
  std::vector<float*> s(h->traceCount);
  {
    dv::File f;
    OpenFileForRead(in.c_str(), &f);
    for (int i = 0; i < h->traceCount; ++i) ReadSegyTrace(in.c_str(), &f, h, &th[i], i, &s[i], 1);
  }
  for (auto _ : state) {
    WriteSegyFHdr(out.c_str(), h);
    dv::File f;
    OpenFileForWrite(out.c_str(), &f);
    for (int i = 0; i < h->traceCount; ++i) WriteSegyTrace(out.c_str(), &f, h, th[i], i, s[i]);
  }
  state.SetBytesProcessed(state.iterations() * files().segyBytes);
  for (int i = 0; i < h->traceCount; ++i) {
    std::free(th[i]);
    std::free(s[i]);
  }
  std::free(h);
}

BENCHMARK(BM_Seg2ReadBaseline)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Seg2Read)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SegyReadBaseline)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SegyRead)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SegyIbmReadBaseline)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SegyIbmRead)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Seg2WriteBaseline)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Seg2Write)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SegyWriteBaseline)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SegyWrite)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Console output plus, at the end, each measurement as a share of its baseline.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs) {
      if (!r.aggregate_name.empty()) continue;
      auto it = r.counters.find("bytes_per_second");
      if (it != r.counters.end()) rates_[r.run_name.function_name] = it->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nthroughput as a share of the plain loop (readers should be >= 0.33):\n");
    for (const char* name : {"BM_Seg2Read", "BM_SegyRead", "BM_SegyIbmRead", "BM_Seg2Write", "BM_SegyWrite"}) {
      std::string base = std::string(name) + "Baseline";
      if (rates_.count(name) && rates_.count(base) && rates_[base] > 0)
        std::printf("  %-14s %8.1f MB/s   baseline %8.1f MB/s   ratio %.2f\n", name, rates_[name] / 1e6,
                    rates_[base] / 1e6, rates_[name] / rates_[base]);
    }
  }

 private:
  std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  files();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::remove(benchPath("baseline.out").c_str());
  std::remove(benchPath("write.sg2").c_str());
  std::remove(benchPath("write.sgy").c_str());
  std::remove(benchPath("ibm.sgy").c_str());
  return 0;
}
