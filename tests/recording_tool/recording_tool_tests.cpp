// delvar-cli's file inspector run as a separate process: info and samples
// against reference.json on the shared recordings, stats on synthetic
// files, convert between the formats, and its exit codes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dv/file.h"
#include "scrivel/gssi.h"
#include "scrivel/segy.h"
#include "synth.h"

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

struct CliRun {
  int code = -1;
  std::string out, err;
  json parsed() const { return json::parse(out); }
};

// Runs a program with the arguments; stdout and stderr are kept apart.
CliRun run(const std::string& program, const std::vector<std::string>& args) {
  static int serial = 0;
  const std::string err = fs::temp_directory_path().string() + "/inspect_err_" + std::to_string(getpid()) +
                          "_" + std::to_string(serial++);
  auto quote = [](const std::string& a) {
    std::string q = "'";
    for (char c : a) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
  };
  std::string cmd = quote(program);
  for (const auto& a : args) cmd += " " + quote(a);
  CliRun r;
  FILE* p = popen((cmd + " 2>" + quote(err)).c_str(), "r");
  char buf[65536];
  for (size_t n; p && (n = fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
  int status = p ? pclose(p) : -1;
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(err, std::ios::binary);
  r.err.assign(std::istreambuf_iterator<char>(in), {});
  std::remove(err.c_str());
  return r;
}

CliRun cli(const std::vector<std::string>& args) { return run(DELVAR_CLI, args); }

class TempDir {
 public:
  TempDir() {
    std::string t = fs::temp_directory_path().string() + "/inspect_XXXXXX";
    path_ = mkdtemp(t.data()) ? t : "";
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (auto& e : fs::directory_iterator(path_)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }

 private:
  std::string path_;
};

bool haveTestdata() {
  struct stat st;
  return stat(DELVAR_TESTDATA, &st) == 0 && S_ISDIR(st.st_mode);
}

#define SKIP_WITHOUT_TESTDATA()                                                               \
  do {                                                                                        \
    if (!haveTestdata())                                                                      \
      GTEST_SKIP() << "shared recordings folder " DELVAR_TESTDATA                             \
                      " is absent; tests on real recordings are skipped";                     \
  } while (0)

const json& reference() {
  static json ref = [] {
    std::ifstream in(std::string(DELVAR_TESTDATA) + "/reference.json");
    return json::parse(in)["files"];
  }();
  return ref;
}

// A shared recording, with what the reference calls its trace count and
// samples per trace.
struct Case {
  const char* key;
  const char* format;
  const char* traces;   // key in documented_view ("" = independent traces)
  const char* samples;  // key in documented_view ("" = independent samples_per_trace)
  double level = 0;     // subtracted from the reference's stored values
  bool marks = false;   // user marks found although documented_view does not say
};

const Case kCases[] = {
    {"gssi/FILE____032.DZT", "gssi", "trace_count", "", 32768},  // Zero unfilled: the mid level
    {"gssi/File____001.DZT", "gssi", "", "", 0, true},
    {"gssi/test_gssi.DZT", "gssi", "", ""},
    {"pekko/XLINE00.HD", "pekko", "traces", "points_per_trace"},
    {"pekko/yyline3.HD", "pekko", "traces", "points_per_trace"},
    {"pekko/XLINE01.HD", "pekko", "traces", "points_per_trace"},
    {"ramac/ten_col.rad", "ramac", "trace_count_LAST_TRACE", "samples"},
    {"seg2/20180307_031245000.0.seg2", "seg2", "traces", "samples_trace0"},
    {"seg2/1.dat", "seg2", "traces", "samples_trace0"},
    {"seg2/1000.DAT", "seg2", "traces", "samples_trace0"},
    {"segy/small.sgy", "segy", "trace_count", "samples_per_trace"},
    {"segy/f3-lsb.sgy", "segy", "trace_count", "samples_per_trace"},
    {"segy/00001034.sgy_first_trace", "segy", "trace_count", "samples_per_trace"},
    {"segy/multi-text.sgy", "segy", "", "samples_per_trace"},
    {"segy/example.y_first_trace", "segy", "", ""},
    {"segy/1.sgy_first_trace", "segy", "", ""},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.key; }

// The recording's path; names whose extension does not say the format are
// linked under one that does.
std::string pathOf(const Case& c, const TempDir& dir) {
  std::string p = std::string(DELVAR_TESTDATA) + "/" + c.key;
  std::string name = fs::path(p).filename().string();
  if (name.find(".sgy_") != std::string::npos) {
    std::string link = dir.file(name.substr(0, name.find(".sgy_")) + ".sgy");
    fs::create_symlink(p, link);
    return link;
  }
  return p;
}

void expectValues(const json& got, const json& want, size_t skip, const std::string& what, double level = 0) {
  ASSERT_TRUE(got.is_array()) << what;
  ASSERT_EQ(got.size(), want.size()) << what;
  for (size_t i = skip; i < want.size(); ++i)
    EXPECT_FLOAT_EQ(got[i].get<float>(), (float)(want[i].get<double>() - level)) << what << " sample " << i;
}

}  // namespace

class InspectRecordings : public ::testing::TestWithParam<Case> {};

TEST_P(InspectRecordings, InfoSamplesAndStatsAgreeWithReference) {
  SKIP_WITHOUT_TESTDATA();
  const Case& c = GetParam();
  TempDir dir;
  const std::string path = pathOf(c, dir);
  const json& ref = reference()[c.key];
  const json& view = ref["documented_view"];
  const json& ind = ref["independent"];

  CliRun info = cli({"info", path});
  ASSERT_EQ(info.code, 0) << info.err;
  json j = info.parsed();
  EXPECT_EQ(j["format"], c.format);
  const int traces = *c.traces ? view[c.traces].get<int>() : ind["traces"].get<int>();
  ASSERT_EQ(j["traces"].get<int>(), traces);
  const int samples = *c.samples ? view[c.samples].get<int>() : ind["samples_per_trace"].get<int>();
  EXPECT_EQ(j["samples"].get<int>(), samples);
  if (view.contains("sample_interval_ns")) {
    EXPECT_NEAR(j["interval_ns"].get<double>(), view["sample_interval_ns"].get<double>(),
                1e-6 * view["sample_interval_ns"].get<double>());
  }
  if (view.contains("first_sample_time_ns")) {
    EXPECT_NEAR(j["first_time_ns"].get<double>(), view["first_sample_time_ns"].get<double>(), 1e-6);
  }
  // Every shared GSSI file leaves its checksum unfilled: a warning.
  EXPECT_EQ(j["status"].get<int>(), std::string(c.format) == "gssi" ? 1 : 0);
  EXPECT_TRUE(j["header"].is_object());
  EXPECT_GE(j["header"].size(), 13u);

  // Code 1 read as IEEE floats gives the reference's IEEE view.
  const bool ieeeView = ind.contains("if_read_as_ieee_float") && j.value("float", "") == "ieee";
  if (ind.contains("if_read_as_ieee_float")) {
    EXPECT_TRUE(j.contains("float"));
  }
  const json& v = ieeeView ? ind["if_read_as_ieee_float"] : ind;
  // With user marks found, a GSSI trace's first two samples read as 0.
  const size_t skip = view.value("has_marks", 0) || c.marks ? 2 : 0;
  CliRun first = cli({"samples", path, "--trace", "0", "--count", "10"});
  ASSERT_EQ(first.code, 0) << first.err;
  expectValues(first.parsed(), v["trace0_samples0_9"], skip, "trace 0", c.level);
  if (skip) {
    EXPECT_EQ(first.parsed()[1].get<float>(), 0.0f);
  }
  CliRun last = cli({"samples", path, "--trace", std::to_string(traces - 1), "--count", "10"});
  ASSERT_EQ(last.code, 0) << last.err;
  expectValues(last.parsed(), v["last_trace_samples0_9"], skip, "last trace", c.level);
  if (!ieeeView) {
    const json& mid = ind["trace0_samples_from_mid"];
    CliRun m = cli({"samples", path, "--trace", "0", "--first", std::to_string(mid["start"].get<int>()), "--count", "10"});
    ASSERT_EQ(m.code, 0) << m.err;
    expectValues(m.parsed(), mid["values"], 0, "trace 0 from the middle", c.level);
  }

  CliRun stats = cli({"stats", path});
  ASSERT_EQ(stats.code, 0) << stats.err;
  json s = stats.parsed();
  EXPECT_EQ(s["traces"].get<int>(), traces);
  EXPECT_TRUE(s["problems"].empty()) << s["problems"].dump();
  if (!skip) {
    double want = v["sum_all_samples"].get<double>() - c.level * traces * samples;
    EXPECT_NEAR(s["sum"].get<double>(), want, 1e-6 * std::max(1e-9, std::fabs(want)));
  }
}

INSTANTIATE_TEST_SUITE_P(Shared, InspectRecordings, ::testing::ValuesIn(kCases), [](const auto& info) {
  std::string n = info.param.key;
  for (char& ch : n)
    if (!isalnum((unsigned char)ch)) ch = '_';
  return n;
});

TEST(InspectRefused, FilesTheLibraryRejectsEndWithCodeOne) {
  TempDir dir;
  // A NUL text header over a binary header that names no sample type.
  std::string nul = dir.file("nul.sgy"), dzt = dir.file("wide.DZT");
  std::ofstream(nul, std::ios::binary) << std::string(4000, '\0');
  std::string head(1024 + 512, '\0');
  head[0] = (char)0xFF;
  head[4] = 0;
  head[5] = 1;   // 256 samples
  head[6] = 24;  // 24 bits per sample
  std::ofstream(dzt, std::ios::binary) << head;
  CliRun r = cli({"info", nul});
  EXPECT_EQ(r.code, 1) << nul;
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("not a"), std::string::npos) << r.err;
  r = cli({"info", dzt});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("has an invalid sample data type"), std::string::npos) << r.err;
}

// ---------------------------------------------------------------------------

TEST(InspectStats, SyntheticLineGivesTheSectionsStatistics) {
  TempDir dir;
  synth::LineRecipe recipe;
  recipe.traces = 40;
  recipe.samples = 300;
  recipe.bits = 1;  // IEEE floats: the values are kept exactly
  std::string path = dir.file("LINE.SGY");
  ASSERT_EQ(synth::writeSegy(path, recipe), 0);
  double lo = INFINITY, hi = -INFINITY, sum = 0, sumAbs = 0;
  for (int t = 0; t < recipe.traces; ++t)
    for (int k = 0; k < recipe.samples; ++k) {
      double v = synth::amplitude(recipe, t, k);
      lo = std::min(lo, v);
      hi = std::max(hi, v);
      sum += v;
      sumAbs += std::fabs(v);
    }
  CliRun r = cli({"stats", path});
  ASSERT_EQ(r.code, 0) << r.err;
  json s = r.parsed();
  EXPECT_EQ(s["format"], "segy");
  EXPECT_EQ(s["traces"], 40);
  EXPECT_EQ(s["samples"], 300);
  EXPECT_EQ(s["samples_read"], 40 * 300);
  EXPECT_EQ(s["min"].get<double>(), lo);
  EXPECT_EQ(s["max"].get<double>(), hi);
  EXPECT_NEAR(s["sum"].get<double>(), sum, 1e-9 * sumAbs);
  EXPECT_NEAR(s["sum_abs"].get<double>(), sumAbs, 1e-9 * sumAbs);
  EXPECT_TRUE(s["problems"].empty());
  // A NaN sample is counted apart and left out of the sums.
  {
    dv::File f;
    ASSERT_TRUE(f.open(path, dv::File::ReadWrite));
    float nan = NAN, first = synth::amplitude(recipe, 0, 0);
    f.seek(3600 + 240);
    f.write(&nan, 4);
    sum -= first;
  }
  s = cli({"stats", path}).parsed();
  EXPECT_EQ(s["non_finite"], 1);
  EXPECT_NEAR(s["sum"].get<double>(), sum, 1e-9 * sumAbs);
}

TEST(InspectStats, UnreadableTraceIsAProblemAndLongSegyCountsEveryTrace) {
  TempDir dir;
  synth::LineRecipe recipe;
  recipe.traces = 6;
  recipe.samples = 64;
  std::string sg2 = dir.file("cut.sg2"), sgy = dir.file("long.segy");
  ASSERT_EQ(synth::writeSeg2(sg2, recipe), 0);
  fs::resize_file(sg2, fs::file_size(sg2) - 20);  // the last trace loses its tail
  CliRun r = cli({"stats", sg2});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.parsed()["problems"], json::parse(R"([{"trace": 5, "status": -86}])"));
  EXPECT_EQ(r.parsed()["samples_read"], 5 * 64);
  EXPECT_NE(r.err.find("Could not read sample"), std::string::npos) << r.err;

  recipe.traces = 70000;
  recipe.samples = 2;
  recipe.bits = 3;
  ASSERT_EQ(synth::writeSegy(sgy, recipe), 0);
  r = cli({"stats", sgy});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.parsed()["traces"], 70000);
  EXPECT_EQ(r.parsed()["samples_read"], 140000);
  EXPECT_EQ(cli({"info", sgy}).parsed()["header"]["Number of Traces"], "65535");
}

// ---------------------------------------------------------------------------

namespace {

// Every trace of a GSSI file through the library, in this process.
std::vector<std::vector<float>> gssiTraces(const std::string& path) {
  std::vector<std::vector<float>> out;
  GssiFHdr* h = nullptr;
  if (ReadGssiFHdr(path.c_str(), &h) < 0) return out;
  dv::File f;
  OpenFileForRead(path.c_str(), &f);
  for (int i = 0; i < h->traceCount; ++i) {
    float* s = nullptr;
    int mark = 0;
    if (ReadGssiTrace(path.c_str(), &f, h, i, &mark, &s, 1) < 0) break;
    out.emplace_back(s, s + h->NSamp);
    free(s);
  }
  CleanupGssiFHdr(h);
  return out;
}

std::vector<float> cliSamples(const std::string& path, int trace) {
  CliRun r = cli({"samples", path, "--trace", std::to_string(trace)});
  EXPECT_EQ(r.code, 0) << r.err;
  return r.code == 0 ? r.parsed().get<std::vector<float>>() : std::vector<float>{};
}

// A SEG-Y line of integer samples written in this process: the shared
// section shifted by `offset`, held inside 16 bits.
void writeIntegerSegy(const std::string& path, int traces, int samples, float offset) {
  synth::LineRecipe recipe;
  recipe.traces = traces;
  recipe.samples = samples;
  SegyFHdr* h = nullptr;
  CreateSegyFHdr(&h);
  std::memcpy(h->text, "C 1 ", 4);
  h->samples = (uint16_t)samples;
  h->sampleInterval = 787;
  h->formatCode = SEGY_INT16;
  h->traceCount = traces;
  ASSERT_EQ(WriteSegyFHdr(path.c_str(), h), 0);
  dv::File f;
  ASSERT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  std::vector<float> v(samples);
  for (int t = 0; t < traces; ++t) {
    for (int k = 0; k < samples; ++k)
      v[k] = std::clamp(std::round(synth::amplitude(recipe, t, k) + offset), -32768.0f, 32767.0f);
    SegyTraceHdr th{};
    ASSERT_EQ(WriteSegyTrace(path.c_str(), &f, h, &th, t, v.data()), 0);
  }
  free(h);
}

}  // namespace

TEST(InspectConvert, DztToSegyAndBackKeepsTheSamples) {
  TempDir dir;
  std::string src = dir.file("src.sgy"), dzt = dir.file("LINE.DZT"), sgy = dir.file("line.sgy"),
              back = dir.file("back.dzt");
  writeIntegerSegy(src, 30, 256, 0.0f);
  ASSERT_EQ(cli({"convert", src, dzt}).code, 0);
  CliRun a = cli({"convert", dzt, sgy});
  ASSERT_EQ(a.code, 0) << a.err;
  CliRun b = cli({"convert", sgy, back});
  ASSERT_EQ(b.code, 0) << b.err;
  auto want = gssiTraces(dzt), got = gssiTraces(back);
  ASSERT_EQ(want.size(), 30u);
  EXPECT_EQ(got, want);
  EXPECT_EQ(cliSamples(sgy, 17), want[17]);
  json info = cli({"info", sgy}).parsed();
  EXPECT_EQ(info["header"]["Data Format Code"], "3") << "integers in 16 bits";
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"LINE.DZT", "back.dzt", "line.sgy", "src.sgy"}))
      << "no temporary files left";
}

// Revision-1 SEG-Y for other tools: the Debian segyio reads the samples
// delvar-cli wrote, and so does delvar-cli.
TEST(InspectConvert, SegyRev1ReadsTheSameInSegyio) {
  const std::string python = "/usr/bin/python3";
  if (run(python, {"-c", "import segyio"}).code != 0)
    GTEST_SKIP() << "segyio for " << python << " is absent (Debian package python3-segyio); "
                 << "the check against another reader is skipped";
  TempDir dir;
  synth::LineRecipe recipe;
  recipe.traces = 25;
  recipe.samples = 200;
  recipe.bits = 1;  // IEEE floats: values that need every bit
  const std::string in = dir.file("line.sgy"), out = dir.file("rev1.sgy");
  ASSERT_EQ(synth::writeSegy(in, recipe), 0);
  CliRun c = cli({"convert", in, out, "--segy-rev1"});
  ASSERT_EQ(c.code, 0) << c.err;
  json info = cli({"info", out}).parsed();
  EXPECT_EQ(info["header"]["Data Format Code"], "5");
  EXPECT_EQ(info["float"], "ieee");
  CliRun peer = run(python, {"-c",
                             "import json, sys, segyio\n"
                             "with segyio.open(sys.argv[1], ignore_geometry=True) as f:\n"
                             "  print(json.dumps({'revision': int(f.bin[segyio.BinField.SEGYRevision]),\n"
                             "    'format': int(f.bin[segyio.BinField.Format]),\n"
                             "    'traces': [[float(v) for v in t] for t in f.trace]}))\n",
                             out});
  ASSERT_EQ(peer.code, 0) << peer.err;
  json p = peer.parsed();
  EXPECT_EQ(p["revision"], 0x0100);
  EXPECT_EQ(p["format"], 5);
  ASSERT_EQ(p["traces"].size(), 25u);
  for (int t : {0, 12, 24}) {
    std::vector<float> want = cliSamples(in, t), got;
    for (auto& v : p["traces"][t]) got.push_back(v.get<float>());
    EXPECT_EQ(got, want) << "trace " << t;
    EXPECT_EQ(cliSamples(out, t), want) << "trace " << t;
  }
}

TEST(InspectConvert, ThroughEveryFormatAndBack) {
  TempDir dir;
  std::string sgy = dir.file("a.sgy");
  // Non-negative integers: every format holds them exactly.
  writeIntegerSegy(sgy, 12, 128, 12000.0f);
  const std::vector<std::string> chain = {sgy, dir.file("b.HD"), dir.file("c.rad"), dir.file("d.sg2"),
                                          dir.file("e.dzt"), dir.file("f.SEGY")};
  for (size_t i = 1; i < chain.size(); ++i) {
    CliRun r = cli({"convert", chain[i - 1], chain[i]});
    ASSERT_EQ(r.code, 0) << chain[i] << ": " << r.err;
  }
  EXPECT_TRUE(fs::exists(dir.file("b.DT1")));
  EXPECT_TRUE(fs::exists(dir.file("c.rd3")));
  for (int t : {0, 11}) {
    std::vector<float> want = cliSamples(sgy, t);
    ASSERT_EQ(want.size(), 128u);
    for (size_t i = 1; i < chain.size(); ++i) {
      std::vector<float> got = cliSamples(chain[i], t);
      ASSERT_EQ(got.size(), want.size()) << chain[i];
      // A DZT trace's first two samples carry its marker, from there on.
      size_t from = i >= 4 ? 2 : 0;
      EXPECT_TRUE(std::equal(want.begin() + from, want.end(), got.begin() + from)) << chain[i] << " trace " << t;
    }
  }
  json info = cli({"info", chain[1]}).parsed();
  EXPECT_EQ(info["traces"], 12);
  EXPECT_NEAR(info["interval_ns"].get<double>(), 100.0 / 127, 1e-3);
}

TEST(InspectConvert, RefusesWhatTheTargetCannotHold) {
  TempDir dir;
  synth::LineRecipe recipe;
  recipe.traces = 3;
  recipe.samples = 16;
  recipe.bits = 1;
  std::string sgy = dir.file("loud.sgy");
  ASSERT_EQ(synth::writeSegy(sgy, recipe), 0);
  // Make one sample too loud for 16 bits.
  {
    dv::File f;
    ASSERT_TRUE(f.open(sgy, dv::File::ReadWrite));
    float v = 1.0e6f;
    f.seek(3600 + 240 + 4 * 5);
    f.write(&v, 4);
  }
  for (const char* out : {"x.dzt", "x.hd", "x.rad"}) {
    CliRun r = cli({"convert", sgy, dir.file(out)});
    EXPECT_EQ(r.code, 1) << out;
    EXPECT_NE(r.err.find("16-bit samples"), std::string::npos) << r.err;
  }
  EXPECT_EQ(dir.names(), std::vector<std::string>{"loud.sgy"});
  CliRun ok = cli({"convert", sgy, dir.file("x.sg2")});
  EXPECT_EQ(ok.code, 0) << ok.err;
  EXPECT_EQ(cliSamples(dir.file("x.sg2"), 0)[5], 1.0e6f);

  recipe.traces = 16384;
  recipe.samples = 2;
  recipe.bits = 3;
  std::string many = dir.file("many.sgy");
  ASSERT_EQ(synth::writeSegy(many, recipe), 0);
  CliRun r = cli({"convert", many, dir.file("many.sg2")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("SEG-2 holds at most 16383 traces"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir.file("many.sg2")));
}

// ---------------------------------------------------------------------------

TEST(InspectUsage, ExitCodes) {
  TempDir dir;
  synth::LineRecipe recipe;
  recipe.traces = 2;
  recipe.samples = 8;
  std::string sgy = dir.file("s.sgy");
  ASSERT_EQ(synth::writeSegy(sgy, recipe), 0);
  EXPECT_EQ(cli({"info"}).code, 2);
  EXPECT_EQ(cli({"inspect", sgy}).code, 2);
  EXPECT_EQ(cli({"samples", sgy}).code, 2);
  EXPECT_EQ(cli({"samples", sgy, "--trace", "x"}).code, 2);
  EXPECT_EQ(cli({"samples", sgy, "--trace", "0", "--colour", "red"}).code, 2);
  EXPECT_EQ(cli({"convert", sgy}).code, 2);
  EXPECT_EQ(cli({"info", dir.file("missing.sgy")}).code, 1);
  EXPECT_EQ(cli({"info", dir.file("s.txt")}).code, 1);
  EXPECT_EQ(cli({"samples", sgy, "--trace", "2"}).code, 1);
  EXPECT_EQ(cli({"samples", sgy, "--trace", "1", "--first", "9"}).code, 1);
  CliRun some = cli({"samples", sgy, "--trace", "1", "--first", "6", "--count", "5"});
  ASSERT_EQ(some.code, 0) << some.err;
  EXPECT_EQ(some.parsed().size(), 2u);
  std::ofstream(dir.file("text.sgy")) << "not a recording";
  CliRun bad = cli({"info", dir.file("text.sgy")});
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.err.find("not a segy file"), std::string::npos) << bad.err;
}

// delvar-cli sidecar: the fixes of a real sidecar as JSON, projected to the
// UTM zone of the first fix or a code given; a code that is no projected
// system and a file that is no sidecar end with code 1.
TEST(InspectSidecar, FixesAndSkippedReasonsAsJson) {
  const std::string gps = std::string(DELVAR_TESTDATA) + "/pekko/isola/YLINEA0.GPS";
  if (!fs::exists(gps)) GTEST_SKIP() << gps << " is absent; the sidecar inspector is not run on it";
  CliRun r = cli({"sidecar", gps});
  ASSERT_EQ(r.code, 0) << r.err;
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["kind"], "GPS");
  ASSERT_EQ(j["fixes"].size(), 56u);
  EXPECT_EQ(j["skipped"], nlohmann::json({{"repeated block", 139}}));
  const auto& first = j["fixes"][0];
  EXPECT_EQ(first["trace"], 1);
  EXPECT_EQ(first["epsg"], 32632);
  EXPECT_NEAR(first["lat"].get<double>(), 46.4149281, 1e-7);
  EXPECT_NEAR(first["elevation"].get<double>(), 1800.72, 1e-9);
  EXPECT_NEAR(first["easting"].get<double>(), 556377.57, 0.01);
  EXPECT_NEAR(first["northing"].get<double>(), 5140411.97, 0.01);
  CliRun swiss = cli({"sidecar", gps, "--epsg", "2056"});
  ASSERT_EQ(swiss.code, 0) << swiss.err;
  EXPECT_EQ(nlohmann::json::parse(swiss.out)["fixes"][0]["epsg"], 2056);
  EXPECT_EQ(cli({"sidecar", gps, "--epsg", "4326"}).code, 1);
  EXPECT_EQ(cli({"sidecar", std::string(DELVAR_TESTDATA) + "/pekko/isola/YLINEA0.HD"}).code, 1);
}
