// The shared SEG-Y recordings: which ones the signature test accepts, their
// counts and sample values against reference.json (code 1 read as IEEE
// bits), and a read-write-read round trip of each accepted file.
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "dv/file.h"
#include "scrivel_internal.h"
#include "scrivel/segy.h"
#include "test_support.h"

using nlohmann::json;
using scrivel_test::MessageCapture;
using scrivel_test::TempDir;

namespace {

struct Recording {
  SegyFHdr* hdr = nullptr;
  std::vector<SegyTraceHdr> traceHdrs;
  std::vector<std::vector<float>> traces;
  ~Recording() { free(hdr); }
};

int readRecording(const std::string& path, Recording& r) {
  int rc = ReadSegyFHdr(path.c_str(), &r.hdr);
  if (rc < 0) return rc;
  dv::File f;
  if (OpenFileForRead(path.c_str(), &f) != 0) return -90;
  for (int i = 0; i < r.hdr->traceCount; ++i) {
    SegyTraceHdr* t = nullptr;
    float* s = nullptr;
    int trc = ReadSegyTrace(path.c_str(), &f, r.hdr, &t, i, &s, 0);
    if (trc < 0) return trc;
    r.traceHdrs.push_back(*t);
    r.traces.emplace_back(s, s + r.hdr->samples);
    free(s);
    free(t);
  }
  return rc;
}

json reference(const std::string& key) {
  std::ifstream in(scrivel_test::testdata("reference.json"));
  return json::parse(in)["files"][key];
}

void expectSamples(const std::vector<float>& got, size_t from, const json& want, const std::string& what) {
  ASSERT_GE(got.size(), from + want.size()) << what;
  for (size_t i = 0; i < want.size(); ++i)
    EXPECT_FLOAT_EQ(got[from + i], want[i].get<float>()) << what << " sample " << from + i;
}

// The reference's values as this reader gives them: code 1 as IEEE bits.
const json& readersView(const json& independent) {
  return independent.contains("if_read_as_ieee_float") ? independent["if_read_as_ieee_float"] : independent;
}

const char* const kAccepted[] = {"segy/small.sgy", "segy/f3-lsb.sgy", "segy/00001034.sgy_first_trace",
                                 "segy/multi-text.sgy"};

std::string testName(const ::testing::TestParamInfo<const char*>& info) {
  std::string n = info.param;
  for (char& c : n) c = isalnum((unsigned char)c) ? c : '_';
  return n;
}

}  // namespace

class SegyRecordings : public ::testing::TestWithParam<const char*> {};

TEST_P(SegyRecordings, MatchReference) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture cap;
  const std::string key = GetParam();
  const json ref = reference(key);
  const json& ind = ref["independent"];
  const json& view = ref["documented_view"];
  Recording r;
  ASSERT_EQ(readRecording(scrivel_test::testdata(key), r), 0) << testing::PrintToString(cap.numbers());
  EXPECT_TRUE(cap.all().empty()) << testing::PrintToString(cap.numbers());
  EXPECT_EQ(r.hdr->bigEndian, view["byte_order_flag"].get<int>());
  EXPECT_EQ(r.hdr->formatCode, view["format_code"].get<int>());
  EXPECT_EQ(r.hdr->samples, view["samples_per_trace"].get<int>());
  EXPECT_EQ(r.hdr->traceCount, view["trace_count"].get<int>());
  EXPECT_EQ(r.hdr->traces, view["trace_count"].get<int>());
  EXPECT_DOUBLE_EQ(r.hdr->sampleInterval * 0.001, view["sample_interval_ns"].get<double>());
  if (ind["first_trace_offset"].get<int>() != 3600) {
    // Extended text headers: this reader takes them for traces, so the
    // stored traces do not line up with the reference's.
    return;
  }
  const json& v = readersView(ind);
  expectSamples(r.traces.front(), 0, v["trace0_samples0_9"], "trace 0");
  expectSamples(r.traces.back(), 0, v["last_trace_samples0_9"], "last trace");
  if (!ind.contains("if_read_as_ieee_float"))
    expectSamples(r.traces.front(), ind["trace0_samples_from_mid"]["start"].get<size_t>(),
                  ind["trace0_samples_from_mid"]["values"], "trace 0 from mid");
  double sum = 0;
  for (const auto& t : r.traces)
    for (float x : t) sum += x;
  double want = v["sum_all_samples"].get<double>();
  EXPECT_NEAR(sum, want, 1e-6 * std::max(1e-9, std::fabs(want)));
  const auto* th = reinterpret_cast<const uint8_t*>(&r.traceHdrs[0]);
  EXPECT_EQ(r.hdr->bigEndian ? scrivel::rdU16be(th + 114) : scrivel::rdU16le(th + 114),
            ind["trace0_header_samples_field"].get<int>())
      << "trace header kept as stored";
}

TEST_P(SegyRecordings, RoundTripKeepsTheSamples) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture cap;
  TempDir dir;
  const std::string key = GetParam();
  Recording a;
  ASSERT_EQ(readRecording(scrivel_test::testdata(key), a), 0);
  const std::string out = dir.file("copy.sgy");
  ASSERT_EQ(WriteSegyFHdr(out.c_str(), a.hdr), 0);
  dv::File f;
  ASSERT_EQ(OpenFileForWrite(out.c_str(), &f), 0);
  for (size_t i = 0; i < a.traces.size(); ++i)
    ASSERT_EQ(WriteSegyTrace(out.c_str(), &f, a.hdr, &a.traceHdrs[i], (int)i, a.traces[i].data()), 0);
  f.close();
  Recording b;
  ASSERT_EQ(readRecording(out, b), 0);
  EXPECT_EQ(b.hdr->bigEndian, a.hdr->bigEndian);
  EXPECT_EQ(std::memcmp(b.hdr->text, a.hdr->text, 3200), 0);
  ASSERT_EQ(b.traces.size(), a.traces.size());
  for (size_t i = 0; i < a.traces.size(); ++i) {
    // Bit for bit: IBM floats read as IEEE may include NaN patterns.
    ASSERT_EQ(b.traces[i].size(), a.traces[i].size());
    EXPECT_EQ(std::memcmp(b.traces[i].data(), a.traces[i].data(), 4 * a.traces[i].size()), 0) << "trace " << i;
    EXPECT_EQ(std::memcmp(&b.traceHdrs[i], &a.traceHdrs[i], 240), 0);
  }
  EXPECT_TRUE(cap.all().empty()) << testing::PrintToString(cap.numbers());
}

INSTANTIATE_TEST_SUITE_P(Shared, SegyRecordings, ::testing::ValuesIn(kAccepted), testName);

// Files every other reader opens but whose first card is not "C 1 ".
TEST(SegyRecordingsRefused, Card01AndNulTextHeadersAreNotSegy) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture cap;
  for (const char* key : {"segy/example.y_first_trace", "segy/1.sgy_first_trace"}) {
    std::string path = scrivel_test::testdata(key);
    EXPECT_EQ(IsSegyFile(path.c_str()), -92) << key;
    SegyFHdr* h = nullptr;
    cap.clear();
    EXPECT_EQ(ReadSegyFHdr(path.c_str(), &h), -92) << key;
    EXPECT_EQ(h, nullptr);
    ASSERT_EQ(cap.texts(10009).size(), 1u);
    EXPECT_EQ(cap.texts(10009)[0], "Error: " + path + " is not a SEG-Y file");
  }
}
