// What the benchmarks of the radar module's operations share: module 1's
// function table loaded from libscrivel.so beside the program, as the
// framework hands it to the module, and the plain baseline of buffered I/O
// over a recording's 16-bit samples.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "dv/system.h"
#include "project/quv.h"

namespace bench {

// Module 1's function table, filled from libscrivel.so's name list.
struct FormatLibrary {
  void* handle = nullptr;
  std::vector<DvFunc> table;
  DvFunc* tables[DV_MODULE_SLOTS] = {};
  void* handles[DV_MODULE_SLOTS] = {};
  FormatLibrary() {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    const std::string path = self + "/libscrivel.so";
    std::string why;
    handle = dv::loadLibrary(path, &why);
    if (!handle) {
      std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), why.c_str());
      std::exit(1);
    }
    dv::ModuleFunctions bound;
    if (!dv::bindModuleFunctions(handle, bound)) std::exit(1);
    table = std::move(bound.table);
    tables[DV_MODULE_SCRIVEL] = table.data();
    handles[DV_MODULE_SCRIVEL] = handle;
    quv::Startup& s = quv::startup();
    s.funcTables = tables;
    s.libHandles = handles;
    if (auto init = quv::scrivel<PfnInitModule>(SCRIVEL_InitModule))
      init(handles, nullptr, nullptr, nullptr, nullptr, nullptr, tables, nullptr, nullptr, 0, 0);
  }
};

// A fresh folder under the temporary folder, removed with everything in
// it at the end of the run.
struct ScratchDir {
  std::string path;
  explicit ScratchDir(const std::string& hint)
      : path(std::filesystem::temp_directory_path().string() + "/delvar_bench_" + hint + "_" +
             std::to_string(::getpid())) {
    std::filesystem::create_directories(path);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

// Plain buffered I/O: per trace one fread of its 16-bit samples (after the
// header's `offset` bytes), the floats made, one fwrite.
inline void copyAsFloats(const std::string& in, long offset, bool unsignedSamples, int traces,
                         int samples, const std::string& out) {
  std::FILE* f = std::fopen(in.c_str(), "rb");
  std::FILE* o = std::fopen(out.c_str(), "wb");
  if (!f || !o || std::fseek(f, offset, SEEK_SET) != 0) std::abort();
  std::vector<uint8_t> raw(2 * (size_t)samples);
  std::vector<float> s((size_t)samples);
  for (int t = 0; t < traces; ++t) {
    if (std::fread(raw.data(), 1, raw.size(), f) != raw.size()) std::abort();
    for (int i = 0; i < samples; ++i) {
      const uint16_t u = uint16_t(raw[2 * i] | (raw[2 * i + 1] << 8));
      s[(size_t)i] = unsignedSamples ? float(long(u) - 32768) : float(int16_t(u));
    }
    if (std::fwrite(s.data(), 4, s.size(), o) != s.size()) std::abort();
  }
  std::fclose(f);
  if (std::fclose(o) != 0) std::abort();
}

// Mean seconds per iteration of each measured body, by name.
inline std::map<std::string, double>& seconds() {
  static std::map<std::string, double> r;
  return r;
}

// Times `body` under `name` (bytes: read plus written per run), with its
// ratio to the time of `baseline` when that ran before.
template <typename Body>
void measure(benchmark::State& state, const std::string& name, const std::string& baseline,
             int64_t bytes, Body body) {
  double total = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    body();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  const double each = state.iterations() ? total / (double)state.iterations() : 0;
  seconds()[name] = each;
  state.SetBytesProcessed(state.iterations() * bytes);
  if (!baseline.empty() && seconds()[baseline] > 0)
    state.counters["vs_baseline"] = each / seconds()[baseline];
}

// Runs the benchmarks given on the command line, then prints each
// operation's time against its baseline's; the exit code is 2 when one
// takes more than `limit` times its baseline.
template <typename Prepare>
int runAndCompare(int argc, char** argv, Prepare prepare,
                  const std::vector<std::pair<std::string, std::string>>& operationAndBaseline,
                  double limit) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  prepare();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\n%-14s %10s %10s %8s\n", "", "ms", "baseline", "ratio");
  bool ok = true;
  auto& s = seconds();
  for (const auto& [op, base] : operationAndBaseline) {
    if (!s.count(op) || !s.count(base) || s[base] <= 0) continue;
    const double ratio = s[op] / s[base];
    if (ratio > limit) ok = false;
    std::printf("%-14s %10.1f %10.1f %8.2f%s\n", op.c_str(), s[op] * 1e3, s[base] * 1e3, ratio,
                ratio > limit ? "  above the limit" : "");
  }
  return ok ? 0 : 2;
}

}  // namespace bench
