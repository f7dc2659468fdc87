// The shared SEG-2 recordings: counts, strings and sample values against
// reference.json, and a read-write-read round trip of each.
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "dv/file.h"
#include "scrivel/describe.h"
#include "scrivel/seg2.h"
#include "test_support.h"

using nlohmann::json;
using scrivel_test::MessageCapture;
using scrivel_test::TempDir;

namespace {

struct Recording {
  Seg2FHdr* hdr = nullptr;
  std::vector<Seg2TraceHdr*> traceHdrs;
  std::vector<std::vector<float>> traces;
  std::vector<int> codes;
  ~Recording() {
    for (auto* t : traceHdrs) free(t);
    CleanupSeg2FHdr(hdr);
  }
};

int readRecording(const std::string& path, Recording& r) {
  int rc = ReadSeg2FHdr(path.c_str(), &r.hdr);
  if (rc < 0) return rc;
  dv::File f;
  if (OpenFileForRead(path.c_str(), &f) != 0) return -90;
  for (int i = 0; i < r.hdr->traces; ++i) {
    Seg2TraceHdr* t = nullptr;
    float* s = nullptr;
    int trc = ReadSeg2Trace(path.c_str(), &f, r.hdr, &t, i, &s, 0);
    if (trc < 0) return trc;
    r.traceHdrs.push_back(t);
    r.traces.emplace_back(s, s + t->samples);
    free(s);
  }
  return rc;
}

json reference(const std::string& key) {
  std::ifstream in(scrivel_test::testdata("reference.json"));
  return json::parse(in)["files"][key];
}

void expectSamples(const std::vector<float>& got, size_t from, const json& want,
                   const std::string& what) {
  ASSERT_GE(got.size(), from + want.size()) << what;
  for (size_t i = 0; i < want.size(); ++i)
    EXPECT_FLOAT_EQ(got[from + i], want[i].get<float>()) << what << " sample " << from + i;
}

// The reference lists strings with trailing blanks and line ends removed.
std::string rtrim(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\n')) s.pop_back();
  return s;
}

const char* const kFiles[] = {"seg2/20180307_031245000.0.seg2", "seg2/1.dat", "seg2/1000.DAT"};

}  // namespace

class Seg2Recordings : public ::testing::TestWithParam<const char*> {};

TEST_P(Seg2Recordings, MatchReference) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture cap;
  const std::string key = GetParam();
  const json ref = reference(key);
  const json& ind = ref["independent"];
  Recording r;
  ASSERT_EQ(readRecording(scrivel_test::testdata(key), r), 0)
      << testing::PrintToString(cap.numbers());
  EXPECT_TRUE(cap.all().empty()) << testing::PrintToString(cap.numbers());
  EXPECT_EQ(IsSeg2File(scrivel_test::testdata(key).c_str()), ref["documented_view"]["IsSeg2File"].get<int>());
  EXPECT_EQ(r.hdr->bigEndian, ref["documented_view"]["byte_order_flag"].get<int>());
  ASSERT_EQ(r.hdr->traces, ind["traces"].get<int>());
  EXPECT_EQ(r.hdr->pointerBlockSize, ind["pointer_subblock_size"].get<int>());
  EXPECT_EQ(r.hdr->tracePointers[0], ind["trace_pointers_first3"][0].get<uint32_t>());

  // File strings the reference lists, each under its keyword.
  scrivel::Fields fields;
  scrivel::describeSeg2(r.hdr, fields);
  ASSERT_EQ(fields.size(), 13u);
  for (const auto& s : ind["file_strings"]) {
    std::string text = s.get<std::string>();
    for (int k = 0; k < SEG2_FILE_STRING_COUNT; ++k) {
      std::string kw = scrivel::kSeg2FileKeywords[k];
      if (text.compare(0, kw.size(), kw) == 0) {
        EXPECT_EQ(rtrim(scrivel::seg2FileString(*r.hdr, k)), rtrim(text.substr(kw.size()))) << kw;
      }
    }
  }

  const Seg2TraceHdr* t0 = r.traceHdrs.front();
  EXPECT_EQ(t0->samples, ind["trace0"]["samples"].get<uint32_t>());
  EXPECT_EQ(t0->formatCode, ind["trace0"]["format_code"].get<int>());
  EXPECT_EQ(t0->descriptorSize, ind["trace0"]["descriptor_size"].get<int>());
  EXPECT_EQ(std::string(t0->delay), " " + ind["trace0"]["DELAY"].get<std::string>());
  EXPECT_EQ(std::string(t0->sampleInterval), " " + ind["trace0"]["SAMPLE_INTERVAL"].get<std::string>());
  EXPECT_EQ(std::string(r.traceHdrs.back()->channelNumber),
            " " + ind["last_trace"]["CHANNEL_NUMBER"].get<std::string>());
  EXPECT_NEAR(std::strtod(t0->sampleInterval, nullptr) * 1e9,
              ref["documented_view"]["sample_interval_ns"].get<double>(), 1e-6);
  EXPECT_NEAR(std::strtod(t0->delay, nullptr) * 1e9,
              ref["documented_view"]["first_sample_time_ns"].get<double>(), 1e-6);

  expectSamples(r.traces.front(), 0, ind["trace0_samples0_9"], "trace 0");
  expectSamples(r.traces.back(), 0, ind["last_trace_samples0_9"], "last trace");
  expectSamples(r.traces.front(), ind["trace0_samples_from_mid"]["start"].get<size_t>(),
                ind["trace0_samples_from_mid"]["values"], "trace 0 from mid");
  double sum = 0;
  for (const auto& tr : r.traces)
    for (float v : tr) sum += v;
  EXPECT_NEAR(sum, ind["sum_all_samples"].get<double>(),
              1e-6 * std::max(1.0, std::fabs(ind["sum_all_samples"].get<double>())));
}

TEST_P(Seg2Recordings, RoundTripKeepsSamplesAndStrings) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture cap;
  TempDir dir;
  const std::string key = GetParam();
  Recording a;
  ASSERT_EQ(readRecording(scrivel_test::testdata(key), a), 0);
  const std::string out = dir.file("copy.sg2");
  ASSERT_EQ(WriteSeg2FHdr(out.c_str(), a.hdr), 0);
  dv::File f;
  ASSERT_EQ(OpenFileForWrite(out.c_str(), &f), 0);
  for (size_t i = 0; i < a.traces.size(); ++i)
    ASSERT_EQ(WriteSeg2Trace(out.c_str(), &f, a.hdr, a.traceHdrs[i], (int)i, a.traces[i].data()), 0);
  f.close();
  Recording b;
  ASSERT_EQ(readRecording(out, b), 0);
  ASSERT_EQ(b.traces.size(), a.traces.size());
  for (size_t i = 0; i < a.traces.size(); ++i) {
    EXPECT_EQ(b.traces[i], a.traces[i]) << "trace " << i;
    EXPECT_EQ(b.traceHdrs[i]->formatCode, a.traceHdrs[i]->formatCode);
    EXPECT_STREQ(b.traceHdrs[i]->descalingFactor, a.traceHdrs[i]->descalingFactor);
  }
  EXPECT_STREQ(b.hdr->note, a.hdr->note);
  // The record still points into the recording it was read from.
  EXPECT_EQ(a.hdr->tracePointers[0], reference(key)["independent"]["trace_pointers_first3"][0].get<uint32_t>());
  EXPECT_STREQ(b.hdr->instrument, a.hdr->instrument);
  EXPECT_TRUE(cap.all().empty()) << testing::PrintToString(cap.numbers());
}

INSTANTIATE_TEST_SUITE_P(Shared, Seg2Recordings, ::testing::ValuesIn(kFiles),
                         [](const auto& info) {
                           std::string n = info.param;
                           for (char& c : n)
                             if (!isalnum((unsigned char)c)) c = '_';
                           return n;
                         });
