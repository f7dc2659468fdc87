// pulseEKKO HD/DT1: the three shared recordings, header and trace round
// trips, date-line recognition, trace-header repairs and refusals, hostile
// counts.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numeric>

#include "codec.h"
#include "dv/file.h"
#include "scrivel/describe.h"
#include "scrivel/pekko.h"
#include "synth.h"
#include "test_support.h"

using scrivel_test::MessageCapture;
using scrivel_test::TempDir;

namespace {

std::unique_ptr<PekkoFHdr> readHeader(const std::string& path, int expect) {
  PekkoFHdr* h = nullptr;
  EXPECT_EQ(ReadPekkoFHdr(path.c_str(), &h), expect) << path;
  return std::unique_ptr<PekkoFHdr>(h);
}

struct Trace {
  std::unique_ptr<PekkoTraceHdr> hdr;
  std::vector<float> samples;
};

std::vector<Trace> readAll(const std::string& dt1, PekkoFHdr* h) {
  std::vector<Trace> out;
  dv::File f;
  EXPECT_EQ(OpenFileForRead(dt1.c_str(), &f), 0);
  for (int i = 0; i < h->traces; ++i) {
    PekkoTraceHdr* th = nullptr;
    float* s = nullptr;
    EXPECT_EQ(ReadPekkoTrace(dt1.c_str(), &f, h, &th, i, &s, 0), 0) << "trace " << i;
    if (!s) break;
    Trace t;
    t.hdr.reset(th);
    t.samples.assign(s, s + h->points);
    std::free(s);
    out.push_back(std::move(t));
  }
  return out;
}

// A DT1 of `n` traces of `points` samples each with the given trace header
// fields, built byte by byte.
void writeDt1(const std::string& path, int n, int points, float traceNumberOffset = 0,
              float bytesPerPoint = 2) {
  std::vector<unsigned char> b;
  for (int i = 0; i < n; ++i) {
    std::vector<unsigned char> th(128 + 2 * points, 0);
    scrivel::wrF32le(&th[0], (float)(i + 1) + traceNumberOffset);
    scrivel::wrF32le(&th[8], (float)points);
    scrivel::wrF32le(&th[20], bytesPerPoint);
    for (int k = 0; k < points; ++k) scrivel::wrU16le(&th[128 + 2 * k], (uint16_t)(int16_t)(k - i));
    b.insert(b.end(), th.begin(), th.end());
  }
  scrivel_test::writeBytes(path, b);
}

}  // namespace

// --- The shared recordings -------------------------------------------------

struct PekkoCase {
  const char* hd;
  const char* dt1;
  int timeZero, window, extras;
};

class PekkoRecordings : public ::testing::TestWithParam<PekkoCase> {};

TEST_P(PekkoRecordings, HeaderAndEveryTraceMatchTheReference) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture msgs;
  const PekkoCase c = GetParam();
  const std::string hd = scrivel_test::testdata(std::string("pekko/") + c.hd);
  const std::string dt1 = scrivel_test::testdata(std::string("pekko/") + c.dt1);
  const auto& entry = scrivel_test::reference(std::string("pekko/") + c.hd);
  const auto& ref = entry["independent"];
  const auto& view = entry["documented_view"];
  ASSERT_FALSE(ref.is_null());
  EXPECT_EQ(IsPekkoHdrFile(hd.c_str()), 0);
  auto h = readHeader(hd, 0);
  ASSERT_TRUE(h);
  ASSERT_EQ(h->textLineCount, 2);
  EXPECT_EQ(h->textLines[0], "1234");
  EXPECT_EQ(h->textLines[1], view["text_lines"][1].get<std::string>()) << "the pE PRO line with two '-' 6 apart is text";
  EXPECT_EQ(h->date, view["date_line"].get<std::string>());
  EXPECT_EQ(h->traces, ref["traces"].get<int>());
  EXPECT_EQ(h->points, ref["samples_per_trace"].get<int>());
  EXPECT_EQ(h->timeZeroPoint, c.timeZero) << "decimal time zero read as an integer";
  EXPECT_EQ(h->timeWindow, c.window);
  EXPECT_EQ(h->extraLineCount, c.extras);
  const auto& kw = ref["hd_keywords"];
  EXPECT_EQ(h->positionUnits, kw["POSITION UNITS"].get<std::string>());
  EXPECT_EQ(h->surveyMode, "Reflection");
  EXPECT_FLOAT_EQ(h->frequency, std::stof(kw["NOMINAL FREQUENCY"].get<std::string>()));
  EXPECT_FLOAT_EQ(h->finalPosition, std::stof(kw["FINAL POSITION"].get<std::string>()));
  EXPECT_EQ(h->stacks, std::stoi(kw["NUMBER OF STACKS"].get<std::string>()));

  std::vector<Trace> t = readAll(dt1, h.get());
  ASSERT_EQ((int)t.size(), h->traces);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(t[0].samples[i], ref["trace0_samples0_9"][i].get<float>());
    EXPECT_EQ(t.back().samples[i], ref["last_trace_samples0_9"][i].get<float>());
    EXPECT_EQ(t[0].samples[ref["trace0_samples_from_mid"]["start"].get<int>() + i],
              ref["trace0_samples_from_mid"]["values"][i].get<float>());
  }
  double sum = 0;
  for (const Trace& tr : t) sum += std::accumulate(tr.samples.begin(), tr.samples.end(), 0.0);
  EXPECT_EQ(sum, ref["sum_all_samples"].get<double>());
  // Comments: flagged ones kept, others emptied.
  for (const auto& fc : ref["comments_with_flag_1"])
    EXPECT_STREQ(t[fc[0].get<int>()].hdr->comment, fc[1].get<std::string>().c_str());
  EXPECT_STREQ(t[0].hdr->comment, "");
  EXPECT_TRUE(msgs.all().empty());
}

TEST_P(PekkoRecordings, WrittenBackInItsOwnFormatReadsTheSame) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture msgs;
  TempDir dir;
  const PekkoCase c = GetParam();
  const std::string hd = scrivel_test::testdata(std::string("pekko/") + c.hd);
  const std::string dt1 = scrivel_test::testdata(std::string("pekko/") + c.dt1);
  auto h = readHeader(hd, 0);
  ASSERT_TRUE(h);
  std::vector<Trace> t = readAll(dt1, h.get());
  const std::string hd2 = dir.file("copy.HD"), dt2 = dir.file("copy.DT1");
  ASSERT_EQ(WritePekkoFHdr(hd2.c_str(), h.get()), 0);
  dv::File f;
  ASSERT_EQ(CreateFileForWrite(dt2.c_str(), &f), 0);
  for (size_t i = 0; i < t.size(); ++i)
    ASSERT_EQ(WritePekkoTrace(dt2.c_str(), &f, t[i].hdr.get(), (int)i, t[i].samples.data()), 0);
  f.close();
  auto h2 = readHeader(hd2, 0);
  ASSERT_TRUE(h2);
  EXPECT_EQ(h2->date, h->date);
  EXPECT_EQ(h2->textLineCount, h->textLineCount);
  EXPECT_EQ(h2->extraLineCount, h->extraLineCount);
  for (int i = 0; i < h->extraLineCount; ++i) EXPECT_EQ(h2->extraLines[i], h->extraLines[i]);
  EXPECT_EQ(h2->traces, h->traces);
  EXPECT_EQ(h2->timeZeroPoint, h->timeZeroPoint);
  EXPECT_EQ(h2->stepSize, h->stepSize);
  std::vector<Trace> t2 = readAll(dt2, h2.get());
  ASSERT_EQ(t2.size(), t.size());
  for (size_t i = 0; i < t.size(); ++i) {
    // Integer samples come back exactly.
    for (size_t k = 0; k < t[i].samples.size(); ++k)
      ASSERT_EQ(t2[i].samples[k], t[i].samples[k]) << i << " " << k;
    EXPECT_EQ(std::memcmp(t2[i].hdr->bytes24, t[i].hdr->bytes24, sizeof t[i].hdr->bytes24), 0)
        << "uninterpreted header bytes are carried through";
  }
  EXPECT_TRUE(msgs.all().empty());
}

INSTANTIATE_TEST_SUITE_P(Shared, PekkoRecordings,
                         ::testing::Values(PekkoCase{"XLINE00.HD", "XLINE00.DT1", 3, 1200, 8},
                                           PekkoCase{"yyline3.HD", "yyline3.DT1", 64, 400, 1},
                                           PekkoCase{"XLINE01.HD", "XLINE01.DT1", 1, 200, 9}),
                         [](const ::testing::TestParamInfo<PekkoCase>& info) {
                           std::string name = info.param.hd;
                           return name.substr(0, name.find('.'));
                         });

// The instruments write fiducials as "F1", "F2", ...: they count like "f";
// other comments (" Merge Point") do not.
TEST(PekkoRecordingsFiducials, UpperCaseFCommentsAreFiducials) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture msgs;
  auto h = readHeader(scrivel_test::testdata("pekko/yyline3.HD"), 0);
  ASSERT_TRUE(h);
  std::vector<int> fiducials;
  std::vector<Trace> t = readAll(scrivel_test::testdata("pekko/yyline3.DT1"), h.get());
  for (size_t i = 0; i < t.size(); ++i)
    if (pekkoFiducial(*t[i].hdr)) fiducials.push_back((int)i);
  EXPECT_EQ(fiducials, (std::vector<int>{41, 81, 117, 157, 237, 275, 313, 353}));
  PekkoTraceHdr lower;
  std::memcpy(lower.comment, "f", 2);
  EXPECT_TRUE(pekkoFiducial(lower));
}

// --- Header text -------------------------------------------------------------

TEST(PekkoHeader, DateLinesAndLineEnds) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("d.HD");
  const char* body = "NUMBER OF TRACES   = 5\nNUMBER OF PTS/TRC  = 7\n";
  struct {
    std::string head;
    int texts;
    std::string date;
  } cases[] = {
      {"a/b line\n12-MAR-04\n", 1, "12-MAR-04"},
      {"  2004/3/12  \n", 0, "2004/3/12"},
      {"one/slash\nfar-apart-dash\n1999-12-31\n", 2, "1999-12-31"},
  };
  for (const auto& c : cases) {
    scrivel_test::writeText(path, c.head + body);
    auto h = readHeader(path, 0);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->textLineCount, c.texts) << c.head;
    EXPECT_EQ(h->date, c.date);
    EXPECT_EQ(h->traces, 5);
  }
  // CR LF and CR CR LF line ends read like LF.
  scrivel_test::writeText(path, "x\r\r\n2017-04-10 \r\r\nNUMBER OF TRACES   = 9 \r\nSURVEY MODE = CMP \r\r\n");
  auto h = readHeader(path, 0);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->textLines[0], "x");
  EXPECT_EQ(h->date, "2017-04-10");
  EXPECT_EQ(h->traces, 9);
  EXPECT_EQ(h->surveyMode, "CMP");
  EXPECT_TRUE(msgs.all().empty());
}

TEST(PekkoHeader, RefusalsLeaveTheRecordWithTheCaller) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("bad.HD");
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += "line " + std::to_string(i) + "\n";
  scrivel_test::writeText(path, ten + "NUMBER OF TRACES = 3\n");
  auto h = readHeader(path, -98);
  EXPECT_TRUE(h) << "the record stays allocated for the caller";
  EXPECT_EQ(msgs.texts(10006), (std::vector<std::string>{"Error: " + path + " is not a Pulse EKKO header file"}));

  msgs.clear();
  scrivel_test::writeText(path, "NUMBER OF TRACES = 3\nno date here\n");
  EXPECT_TRUE(readHeader(path, -86));
  EXPECT_EQ(msgs.numbers(), (std::vector<int>{10015}));

  msgs.clear();
  scrivel_test::writeText(path, "2020-01-01\nno keyword\n");
  EXPECT_FALSE(readHeader(path, -98));
  EXPECT_EQ(msgs.numbers(), (std::vector<int>{10006}));
  msgs.clear();
  EXPECT_FALSE(readHeader(dir.file("none.HD"), -90));
  EXPECT_EQ(msgs.numbers(), (std::vector<int>{10001}));
}

TEST(PekkoHeader, WrittenHeaderReadsBackAndEndsLinesWithCrLf) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("w.HD");
  PekkoFHdr h;
  h.textLines[0] = "1234";
  h.textLineCount = 1;
  h.date = "2024-05-14";
  h.traces = 12;
  h.points = 250;
  h.timeZeroPoint = 4;
  h.timeWindow = 200;
  h.startPosition = -1.25f;
  h.finalPosition = 11.6f;
  h.stepSize = 0.05f;
  h.positionUnits = "m";
  h.frequency = 100.0f;
  h.antennaSeparation = 0.5f;
  h.pulserVoltage = 400;
  h.stacks = 8;
  h.surveyMode = "Reflection";
  h.elevationMax = 12.345678f;
  h.elevationMin = -3.5f;
  h.extraLines[0] = "STACKING TYPE = F1";
  h.extraLineCount = 1;
  ASSERT_EQ(WritePekkoFHdr(path.c_str(), &h), 0);
  std::string text;
  ASSERT_TRUE(dv::readWholeFile(path, text));
  EXPECT_NE(text.find("NUMBER OF TRACES   = 12 \r\n"), std::string::npos);
  EXPECT_NE(text.find("ELEVATION DATA ENTERED : MAX = 12.345678   MIN = -3.500000 \r\n"), std::string::npos);
  EXPECT_EQ(text.find("\r\r"), std::string::npos);
  for (size_t p = text.find('\n'); p != std::string::npos; p = text.find('\n', p + 1))
    EXPECT_EQ(text[p - 1], '\r') << "every line ends CR LF";
  auto r = readHeader(path, 0);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->textLines[0], "1234");
  EXPECT_EQ(r->date, h.date);
  EXPECT_EQ(r->points, 250);
  EXPECT_EQ(r->timeZeroPoint, 4);
  EXPECT_EQ(r->startPosition, -1.25f);
  EXPECT_FLOAT_EQ(r->stepSize, 0.05f);
  EXPECT_EQ(r->positionUnits, "m");
  EXPECT_EQ(r->pulserVoltage, 400);
  EXPECT_FLOAT_EQ(r->elevationMax, 12.345678f);
  EXPECT_EQ(r->elevationMin, -3.5f);
  ASSERT_EQ(r->extraLineCount, 1);
  EXPECT_EQ(r->extraLines[0], "STACKING TYPE = F1");
  EXPECT_TRUE(msgs.all().empty());
}

// --- Trace headers --------------------------------------------------------------

TEST(PekkoTraces, TraceHeaderRepairsAndRefusals) {
  MessageCapture msgs;
  TempDir dir;
  const std::string dt1 = dir.file("t.DT1");
  PekkoFHdr h;
  h.points = 16;
  h.traces = 4;
  writeDt1(dt1, 4, 16, 4.0f);  // trace at index 2 claims number 7
  dv::File f;
  ASSERT_EQ(OpenFileForRead(dt1.c_str(), &f), 0);
  PekkoTraceHdr* th = nullptr;
  float* s = nullptr;
  EXPECT_EQ(ReadPekkoTrace(dt1.c_str(), &f, &h, &th, 2, &s, 0), 1);
  ASSERT_TRUE(th && s);
  EXPECT_EQ(th->traceNumber, 3.0f);
  EXPECT_EQ(s[5], 3.0f);
  EXPECT_EQ(msgs.texts(10018), (std::vector<std::string>{
                                   "Warning: " + dt1 + " has invalid trace number of 7 in trace header 3, fixing trace header to match position in file"}));
  delete th;
  std::free(s);

  // Points differing from the file header: fixed to the header's count.
  msgs.clear();
  writeDt1(dt1, 2, 16);
  std::vector<unsigned char> b = scrivel_test::readBytes(dt1);
  scrivel::wrF32le(&b[8], 20.0f);
  scrivel::wrF32le(&b[96], 1.0f);
  std::memcpy(&b[100], "fiducial one................", 28);
  scrivel_test::writeBytes(dt1, b);
  ASSERT_EQ(OpenFileForRead(dt1.c_str(), &f), 0);
  EXPECT_EQ(ReadPekkoTrace(dt1.c_str(), &f, &h, &th, 0, &s, 0), 1);
  EXPECT_EQ(th->points, 16.0f);
  EXPECT_EQ(std::strlen(th->comment), 28u) << "a full comment stays terminated";
  EXPECT_EQ(msgs.texts(10019), (std::vector<std::string>{
                                   "Warning: " + dt1 + " has trace header 1 with 20 points/trace, while file header has 16 points/trace, fixing trace header to match file header"}));
  delete th;
  std::free(s);

  // Four bytes per point is refused.
  msgs.clear();
  writeDt1(dt1, 2, 16, 0, 4.0f);
  ASSERT_EQ(OpenFileForRead(dt1.c_str(), &f), 0);
  th = nullptr;
  s = nullptr;
  EXPECT_EQ(ReadPekkoTrace(dt1.c_str(), &f, &h, &th, 1, &s, 0), -97);
  EXPECT_EQ(th, nullptr);
  EXPECT_EQ(msgs.texts(10020), (std::vector<std::string>{
                                   "Error: " + dt1 + " has trace header 2 with 4 bytes/point, while Pulse EKKO only supports 2 bytes/point"}));
  msgs.clear();
  EXPECT_EQ(ReadPekkoTrace(dt1.c_str(), &f, &h, &th, 1, &s, 1), -97);
  EXPECT_TRUE(msgs.all().empty()) << "quiet";
}

TEST(PekkoTraces, HostileCountsFailWithoutHugeAllocations) {
  MessageCapture msgs;
  TempDir dir;
  const std::string dt1 = dir.file("h.DT1");
  writeDt1(dt1, 4, 8);  // about 0.5 KB
  dv::File f;
  ASSERT_EQ(OpenFileForRead(dt1.c_str(), &f), 0);
  PekkoFHdr h;
  PekkoTraceHdr* th = nullptr;
  float* s = nullptr;
  h.points = 2147483647 - 64;  // the trace-header claim would need 4 GB
  EXPECT_EQ(ReadPekkoTrace(dt1.c_str(), &f, &h, &th, 0, &s, 0), -86);
  EXPECT_EQ(msgs.texts(10021), (std::vector<std::string>{"Error: Could not read trace 1 data in file " + dt1}));
  EXPECT_EQ(ReadPekkoTrace(dt1.c_str(), &f, &h, &th, 1000, &s, 1), -86);
  h.points = -200;
  EXPECT_EQ(ReadPekkoTrace(dt1.c_str(), &f, &h, &th, 3, &s, 1), -84);
  EXPECT_EQ(ReadPekkoTrace(dt1.c_str(), &f, &h, &th, 0, &s, 1), -86);
  h.points = 8;
  EXPECT_EQ(ReadPekkoTrace(dt1.c_str(), &f, &h, &th, 4, &s, 0), -86);
  EXPECT_EQ(msgs.count(10017), 1) << "past the last trace header";
  EXPECT_EQ(th, nullptr);
  EXPECT_EQ(s, nullptr);
}

TEST(PekkoSynthetic, LineWithFiducialsReadsBack) {
  MessageCapture msgs;
  TempDir dir;
  synth::LineRecipe recipe;
  recipe.traces = 40;
  recipe.samples = 300;
  recipe.markEvery = 10;
  recipe.firstTimeNs = -2.0f;
  const std::string hd = dir.file("syn.HD");
  ASSERT_EQ(synth::writePekko(hd, recipe), 0);
  auto h = readHeader(hd, 0);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->traces, 40);
  EXPECT_EQ(h->timeWindow, 100);
  std::vector<Trace> t = readAll(dir.file("syn.DT1"), h.get());
  ASSERT_EQ(t.size(), 40u);
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(t[i].hdr->comment[0] == 'f', i > 0 && i % 10 == 0) << i;
    // Stored rounded to the nearest integer.
    for (int k = 0; k < 300; k += 13) EXPECT_NEAR(t[i].samples[k], synth::amplitude(recipe, i, k), 0.5);
  }
  scrivel::Fields rows;
  scrivel::describePekko(h.get(), rows);
  ASSERT_EQ(rows.size(), 16u);
  EXPECT_EQ(rows[0], (std::pair<std::string, std::string>{"Date", "2024-05-14"}));
  EXPECT_EQ(rows[4], (std::pair<std::string, std::string>{"Total Time Window", "100"}));
  EXPECT_EQ(rows[11].first, "Pulser Voltage (V)");
  EXPECT_EQ(rows[15].first, "Elevation Data Min");
  EXPECT_TRUE(msgs.all().empty());
}
