// RAMAC RAD/RD3: the shared recording, keyword parsing edge cases, header
// and trace round trips, hostile counts.
#include <cstdlib>
#include <memory>
#include <numeric>

#include "dv/file.h"
#include "scrivel/describe.h"
#include "scrivel/ramac.h"
#include "synth.h"
#include "test_support.h"

using scrivel_test::MessageCapture;
using scrivel_test::TempDir;

namespace {

std::unique_ptr<RamacFHdr> readHeader(const std::string& path, int expect) {
  RamacFHdr* h = nullptr;
  EXPECT_EQ(ReadRamacFHdr(path.c_str(), &h), expect) << path;
  return std::unique_ptr<RamacFHdr>(h);
}

std::vector<std::vector<float>> readAll(const std::string& rd3, RamacFHdr* h) {
  std::vector<std::vector<float>> out;
  dv::File f;
  EXPECT_EQ(OpenFileForRead(rd3.c_str(), &f), 0);
  for (int i = 0; i < h->lastTrace; ++i) {
    float* s = nullptr;
    EXPECT_EQ(ReadRamacTrace(rd3.c_str(), &f, h, i, &s, 0), 0) << i;
    if (!s) break;
    out.emplace_back(s, s + h->samples);
    std::free(s);
  }
  return out;
}

}  // namespace

TEST(RamacRecordings, KeywordsReadAndSamplesWriteBackExactlyWithoutUnknownKeywords) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture msgs;
  TempDir dir;
  const std::string rad = scrivel_test::testdata("ramac/ten_col.rad");
  const std::string rd3 = scrivel_test::testdata("ramac/ten_col.rd3");
  const auto& ref = scrivel_test::reference("ramac/ten_col.rad")["independent"];
  ASSERT_FALSE(ref.is_null());
  EXPECT_EQ(IsRamacHdrFile(rad.c_str()), 0);
  auto h = readHeader(rad, 0);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->samples, 512);
  EXPECT_FLOAT_EQ(h->frequency, 2426.187744f);
  EXPECT_EQ(h->frequencySteps, 17);
  EXPECT_FLOAT_EQ(h->signalPosition, 381.862687f);
  EXPECT_EQ(h->rawSignalPosition, 49785);
  EXPECT_EQ(h->timeFlag, 1);
  EXPECT_FLOAT_EQ(h->timeInterval, 0.1f) << "blank after the colon";
  EXPECT_EQ(h->operatorName, "_");
  EXPECT_EQ(h->antennas, "500_shielded_egrip");
  EXPECT_EQ(h->antennaOrientation, "NOT VALID FIELD");
  EXPECT_FLOAT_EQ(h->antennaSeparation, 0.18f);
  EXPECT_EQ(h->comment, "");
  EXPECT_FLOAT_EQ(h->timeWindow, 422.061312f);
  EXPECT_EQ(h->stacks, 4);
  EXPECT_EQ(h->stackExponent, 2);
  EXPECT_EQ(h->lastTrace, 10);
  EXPECT_FLOAT_EQ(h->stopPosition, 3569.5f);
  EXPECT_FLOAT_EQ(h->systemCalibration, 0.0000242453f);

  auto t = readAll(rd3, h.get());
  ASSERT_EQ(t.size(), 10u);
  double sum = 0;
  for (const auto& tr : t) sum += std::accumulate(tr.begin(), tr.end(), 0.0);
  EXPECT_EQ(sum, ref["sum_all_samples"].get<double>());
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(t[0][i], ref["trace0_samples0_9"][i].get<float>());
    EXPECT_EQ(t[9][i], ref["last_trace_samples0_9"][i].get<float>());
    EXPECT_EQ(t[0][256 + i], ref["trace0_samples_from_mid"]["values"][i].get<float>());
  }

  // Written back: the same samples exactly, the known keywords kept, the
  // others dropped.
  const std::string rad2 = dir.file("copy.rad"), rd32 = dir.file("copy.rd3");
  ASSERT_EQ(WriteRamacFHdr(rad2.c_str(), h.get()), 0);
  dv::File f;
  ASSERT_EQ(CreateFileForWrite(rd32.c_str(), &f), 0);
  for (int i = 0; i < 10; ++i) ASSERT_EQ(WriteRamacTrace(rd32.c_str(), &f, h.get(), i, t[i].data()), 0);
  f.close();
  auto h2 = readHeader(rad2, 0);
  ASSERT_TRUE(h2);
  auto t2 = readAll(rd32, h2.get());
  ASSERT_EQ(t2.size(), 10u);
  for (int i = 0; i < 10; ++i)
    for (int k = 0; k < 512; ++k) ASSERT_EQ(t2[i][k], t[i][k]) << i << " " << k;
  EXPECT_EQ(h2->frequency, h->frequency);
  EXPECT_EQ(h2->antennas, h->antennas);
  EXPECT_EQ(h2->lastTrace, 10);
  std::string text;
  ASSERT_TRUE(dv::readWholeFile(rad2, text));
  EXPECT_EQ(text.find("START POSITION"), std::string::npos);
  EXPECT_NE(text.find("SYSTEM CALIBRATION:0.0000242453\r\nLAST TRACE:10\r\n"), std::string::npos);
  EXPECT_TRUE(msgs.all().empty());
}

TEST(RamacHeader, KeywordEdgeCases) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("k.rad");
  // No LAST TRACE line; FREQUENCY STEPS must not be taken as FREQUENCY;
  // blanks after the colon stay in texts; LF-only lines read too.
  scrivel_test::writeText(path,
                          "  SAMPLES:512\nFREQUENCY STEPS:9\nANTENNAS: 250 MHz \n"
                          "TIMEWINDOW:100.5 ns\nUNKNOWN KEY:1\nSTACKS:x\n");
  auto h = readHeader(path, 0);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->samples, 512);
  EXPECT_EQ(h->lastTrace, 0);
  EXPECT_EQ(h->frequencySteps, 9);
  EXPECT_EQ(h->frequency, 0.0f);
  EXPECT_EQ(h->antennas, " 250 MHz") << "line trimmed at both ends, blank after the colon kept";
  EXPECT_FLOAT_EQ(h->timeWindow, 100.5f);
  EXPECT_EQ(h->stacks, 0);

  // A blank first line is not a RAMAC header, even if SAMPLES: follows.
  scrivel_test::writeText(path, "\r\nSAMPLES:512\r\n");
  EXPECT_EQ(IsRamacHdrFile(path.c_str()), -96);
  EXPECT_FALSE(readHeader(path, -96));
  EXPECT_EQ(msgs.texts(10007), (std::vector<std::string>{"Error: " + path + " is not a RAMAC header file"}));
  scrivel_test::writeText(path, "");
  EXPECT_EQ(IsRamacHdrFile(path.c_str()), -96);
  EXPECT_EQ(IsRamacHdrFile(dir.file("none.rad").c_str()), -90);
  // The header writer reports nothing when it cannot create the file.
  msgs.clear();
  RamacFHdr w;
  EXPECT_EQ(WriteRamacFHdr(dir.file("no/dir.rad").c_str(), &w), -88);
  EXPECT_TRUE(msgs.all().empty());
}

TEST(RamacHeader, WrittenHeaderReadsBackWithTwoDecimalStopPosition) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("w.rad");
  RamacFHdr h;
  h.samples = 1024;
  h.frequency = 4999.5f;
  h.frequencySteps = 3;
  h.timeInterval = 0.25f;
  h.operatorName = "Ann";
  h.antennaOrientation = "PARALLEL";
  h.comment = "two words";
  h.timeWindow = 204.8f;
  h.stacks = 16;
  h.lastTrace = 777;
  h.stopPosition = 12.3456f;
  h.systemCalibration = 1.234e-5f;
  ASSERT_EQ(WriteRamacFHdr(path.c_str(), &h), 0);
  std::string text;
  ASSERT_TRUE(dv::readWholeFile(path, text));
  EXPECT_EQ(text.rfind("SAMPLES:1024\r\nFREQUENCY:4999.500000\r\n", 0), 0u);
  EXPECT_NE(text.find("STOP POSITION:12.35\r\n"), std::string::npos);
  auto r = readHeader(path, 0);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->samples, 1024);
  EXPECT_EQ(r->frequency, 4999.5f);
  EXPECT_EQ(r->frequencySteps, 3);
  EXPECT_EQ(r->timeInterval, 0.25f);
  EXPECT_EQ(r->operatorName, "Ann");
  EXPECT_EQ(r->antennaOrientation, "PARALLEL");
  EXPECT_EQ(r->comment, "two words");
  EXPECT_FLOAT_EQ(r->timeWindow, 204.8f);
  EXPECT_EQ(r->lastTrace, 777);
  EXPECT_FLOAT_EQ(r->stopPosition, 12.35f);
  EXPECT_FLOAT_EQ(r->systemCalibration, 1.234e-5f);
  scrivel::Fields rows;
  scrivel::describeRamac(r.get(), rows);
  ASSERT_EQ(rows.size(), 25u);
  EXPECT_EQ(rows[0], (std::pair<std::string, std::string>{"Samples", "1024"}));
  EXPECT_EQ(rows[11], (std::pair<std::string, std::string>{"Operator", "Ann"}));
  EXPECT_EQ(rows[22], (std::pair<std::string, std::string>{"Last Trace", "777"}));
  EXPECT_EQ(rows[24].first, "System Calibration");
  EXPECT_TRUE(msgs.all().empty());
}

TEST(RamacTraces, HostileSampleCountsFailCleanly) {
  MessageCapture msgs;
  TempDir dir;
  const std::string rd3 = dir.file("h.rd3");
  scrivel_test::writeBytes(rd3, std::vector<unsigned char>(2048, 1));
  dv::File f;
  ASSERT_EQ(OpenFileForRead(rd3.c_str(), &f), 0);
  RamacFHdr h;
  float* s = nullptr;
  h.samples = 2147483647;  // 4 GB a trace, in a 2 KB file
  EXPECT_EQ(ReadRamacTrace(rd3.c_str(), &f, &h, 0, &s, 0), -86);
  EXPECT_EQ(msgs.texts(10021), (std::vector<std::string>{"Error: Could not read trace 1 data in file " + rd3}));
  EXPECT_EQ(ReadRamacTrace(rd3.c_str(), &f, &h, 1, &s, 0), -86);
  h.samples = -4;
  EXPECT_EQ(ReadRamacTrace(rd3.c_str(), &f, &h, 2, &s, 0), -84);
  EXPECT_EQ(msgs.texts(10038), (std::vector<std::string>{"Error: Could not seek to trace 3 data in file " + rd3}));
  msgs.clear();
  h.samples = 512;
  EXPECT_EQ(ReadRamacTrace(rd3.c_str(), &f, &h, 2, &s, 1), -86);
  EXPECT_TRUE(msgs.all().empty()) << "quiet";
  EXPECT_EQ(s, nullptr);
  EXPECT_EQ(ReadRamacTrace(rd3.c_str(), &f, &h, 1, &s, 1), 0);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s[0], 257.0f);
  std::free(s);
}

TEST(RamacSynthetic, LineReadsBack) {
  MessageCapture msgs;
  TempDir dir;
  synth::LineRecipe recipe;
  recipe.traces = 30;
  recipe.samples = 200;
  const std::string rad = dir.file("syn.rad");
  ASSERT_EQ(synth::writeRamac(rad, recipe), 0);
  auto h = readHeader(rad, 0);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->lastTrace, 30);
  EXPECT_NEAR(1000.0 / h->frequency, recipe.timeWindowNs / (recipe.samples - 1), 1e-4);
  auto t = readAll(dir.file("syn.rd3"), h.get());
  ASSERT_EQ(t.size(), 30u);
  for (int i = 0; i < 30; i += 7)
    for (int k = 0; k < 200; k += 11) EXPECT_NEAR(t[i][k], synth::amplitude(recipe, i, k), 0.5);
  EXPECT_TRUE(msgs.all().empty());
}
