// GSSI DZT: the shared recordings (16- and 32-bit, old and newer headers)
// give the independent readers' values, round trips, the edge cases of
// marks, gain and clipping, and hostile headers.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numeric>

#include "codec.h"
#include "dv/file.h"
#include "scrivel/describe.h"
#include "scrivel/gssi.h"
#include "synth.h"
#include "test_support.h"

using scrivel_test::MessageCapture;
using scrivel_test::TempDir;

namespace {

struct GssiDeleter {
  void operator()(GssiFHdr* h) const { CleanupGssiFHdr(h); }
};
using GssiPtr = std::unique_ptr<GssiFHdr, GssiDeleter>;

struct Trace {
  std::vector<float> samples;
  int mark = 0;
};

// Reads every trace of an open DZT; fails the test on any error.
std::vector<Trace> readAll(const std::string& path, GssiFHdr* h) {
  std::vector<Trace> out;
  dv::File f;
  EXPECT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  for (int i = 0; i < h->traceCount; ++i) {
    float* s = nullptr;
    Trace t;
    EXPECT_EQ(ReadGssiTrace(path.c_str(), &f, h, i, &t.mark, &s, 0), 0) << "trace " << i;
    if (!s) break;
    t.samples.assign(s, s + h->NSamp);
    std::free(s);
    out.push_back(std::move(t));
  }
  return out;
}

// A new record for a small test file.
GssiPtr newHeader(int bits, int nsamp) {
  GssiFHdr* h = nullptr;
  EXPECT_EQ(CreateGssiFHdr(&h), 0);
  h->Bits = (uint16_t)bits;
  h->NSamp = (uint16_t)nsamp;
  h->NChan = 1;
  return GssiPtr(h);
}

// Writes a header and the given traces (marks in `marks`).
void writeFile(const std::string& path, GssiFHdr* h, const std::vector<std::vector<float>>& traces,
               const std::vector<int>& marks = {}) {
  ASSERT_GE(WriteGssiFHdr(path.c_str(), h), 0);
  dv::File f;
  ASSERT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  for (size_t i = 0; i < traces.size(); ++i) {
    std::vector<float> t = traces[i];
    int mark = i < marks.size() ? marks[i] : 0;
    ASSERT_GE(WriteGssiTrace(path.c_str(), &f, h, (int)i, mark, t.data()), 0);
  }
}

GssiPtr readHeader(const std::string& path, int expect) {
  GssiFHdr* h = nullptr;
  EXPECT_EQ(ReadGssiFHdr(path.c_str(), &h), expect);
  return GssiPtr(h);
}

// The traces of a shared recording against the independent reader's raw
// values: each sample is the stored value less `zero`, except the two
// marker samples of a file with marks, which read as 0.
void expectIndependentSamples(const std::string& key, const GssiFHdr* h, const std::vector<Trace>& traces,
                              double zero) {
  const auto& ref = scrivel_test::reference(key)["independent"];
  ASSERT_EQ((int)traces.size(), ref["traces"].get<int>());
  const int from = h->hasMarks ? 2 : 0;
  for (int i = 0; i < from; ++i) {
    EXPECT_EQ(traces.front().samples[i], 0.0f);
    EXPECT_EQ(traces.back().samples[i], 0.0f);
  }
  for (int i = from; i < 10; ++i) {
    EXPECT_EQ(traces.front().samples[i], ref["trace0_samples0_9"][i].get<double>() - zero) << i;
    EXPECT_EQ(traces.back().samples[i], ref["last_trace_samples0_9"][i].get<double>() - zero) << i;
  }
  const auto& mid = ref["trace0_samples_from_mid"];
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(traces[0].samples[mid["start"].get<int>() + i], mid["values"][i].get<double>() - zero);
  // The reference sum holds the raw marker samples; take those from the
  // file's bytes directly.
  auto bytes = scrivel_test::readBytes(scrivel_test::testdata(key));
  const int width = h->Bits / 8;
  double markerSum = 0, sum = 0;
  for (size_t t = 0; t < traces.size(); ++t)
    for (int k = 0; k < from; ++k) {
      const uint8_t* p = &bytes[(size_t)h->dataOffset + (t * h->NSamp + k) * width];
      markerSum += width == 4 ? (double)(int32_t)scrivel::rdU32le(p) : (double)scrivel::rdU16le(p);
    }
  for (const Trace& t : traces) sum += std::accumulate(t.samples.begin(), t.samples.end(), 0.0);
  const double kept = (double)traces.size() * (h->NSamp - from);
  EXPECT_EQ(sum, ref["sum_all_samples"].get<double>() - markerSum - zero * kept);
}

}  // namespace

// --- The shared recordings -------------------------------------------------

TEST(GssiRecordings, BadChecksumOnlyWarnsAndZeroFieldZeroReadsAroundTheMidLevelWithHistogramMarks) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture msgs;
  const std::string path = scrivel_test::testdata("gssi/FILE____032.DZT");
  const auto& ref = scrivel_test::reference("gssi/FILE____032.DZT")["independent"];
  ASSERT_FALSE(ref.is_null());
  EXPECT_EQ(IsGssiFile(path.c_str()), 0);
  GssiPtr h = readHeader(path, 1);
  ASSERT_TRUE(h);
  EXPECT_EQ(msgs.texts(10014), (std::vector<std::string>{"Warning: " + path + " has a bad checksum of the GSSI header"}));
  EXPECT_EQ(msgs.all().size(), 1u);
  EXPECT_EQ(h->Tag, 0x0700);
  EXPECT_EQ(h->NSamp, 512);
  EXPECT_EQ(h->Bits, 16);
  EXPECT_EQ(h->Zero, 0);
  EXPECT_EQ(h->NChan, 1);
  EXPECT_FLOAT_EQ(h->Range, 48.0f);
  EXPECT_FLOAT_EQ(h->SPM, 50.0f);
  EXPECT_FLOAT_EQ(h->MPM, 0.5f);
  EXPECT_FLOAT_EQ(h->EPSR, 6.0f);
  EXPECT_FLOAT_EQ(h->Top, (float)ref["header"]["top"].get<double>());
  EXPECT_EQ(h->ChanMask, 6400);
  EXPECT_STREQ(h->AntName, "400MHz");
  EXPECT_EQ(std::string(h->Name, strnlen(h->Name, 12)), "FILE____032");
  EXPECT_EQ(h->historySize, 33);
  ASSERT_NE(h->history, nullptr);
  EXPECT_STREQ(h->text, "") << "text size 0 means no text although the offset is 512";
  EXPECT_EQ(h->rangeGainCount, 0);
  EXPECT_EQ(h->traceCount, ref["traces"].get<int>());
  EXPECT_EQ(h->hasMarks, 1);
  EXPECT_EQ(h->markValue, 100);

  std::vector<Trace> traces = readAll(path, h.get());
  ASSERT_EQ((int)traces.size(), 1040);
  int marked = 0;
  for (const Trace& t : traces) marked += t.mark;
  EXPECT_EQ(marked, 11);
  // Zero 0 was left unfilled: the samples sit around 32768, as the peers read them.
  expectIndependentSamples("gssi/FILE____032.DZT", h.get(), traces, 32768);
}

// 32-bit signed samples, and a newer system's file: tag 0x07FF, a data
// offset word of 128 (a 128 KiB header) and a Zero field holding a
// time-zero sample (1), which is not a level for signed samples.
TEST(GssiRecordings, ThirtyTwoBitAndNewerFilesGiveTheIndependentValues) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture msgs;
  for (const char* key : {"gssi/File____001.DZT", "gssi/test_gssi.DZT"}) {
    const std::string path = scrivel_test::testdata(key);
    const auto& ref = scrivel_test::reference(key)["independent"];
    ASSERT_FALSE(ref.is_null()) << key;
    EXPECT_EQ(IsGssiFile(path.c_str()), 0) << key;
    msgs.clear();
    GssiPtr h = readHeader(path, 1);
    ASSERT_TRUE(h) << key;
    EXPECT_EQ(msgs.numbers(), std::vector<int>{10014}) << key << ": only the unfilled checksum";
    EXPECT_EQ(h->Tag, ref["header"]["tag"].get<int>());
    EXPECT_EQ(h->Bits, 32);
    EXPECT_EQ(h->NSamp, ref["samples_per_trace"].get<int>());
    EXPECT_EQ(h->Zero, ref["header"]["zero"].get<int>());
    EXPECT_EQ(h->dataOffset, ref["header"]["data_offset_readgssi_rule"].get<int>());
    EXPECT_EQ(h->traceCount, ref["traces"].get<int>());
    EXPECT_FLOAT_EQ(h->Position, ref["header"]["position"].get<float>());
    EXPECT_FLOAT_EQ(h->Range, ref["header"]["range"].get<float>());
    std::vector<Trace> traces = readAll(path, h.get());
    expectIndependentSamples(key, h.get(), traces, 0);
  }
}

// Each recording rewritten keeps its samples, marks, history, bits and
// Zero field, and stores the very values it held (the marker samples
// aside, which the writer puts in its own form).
TEST(GssiRecordings, RoundTripKeepsSamplesMarksHistoryBitsAndZeroField) {
  SKIP_WITHOUT_TESTDATA();
  MessageCapture msgs;
  TempDir dir;
  for (const char* key : {"gssi/FILE____032.DZT", "gssi/File____001.DZT", "gssi/test_gssi.DZT"}) {
    const std::string path = scrivel_test::testdata(key);
    GssiPtr h = readHeader(path, 1);
    ASSERT_TRUE(h) << key;
    const int zero = h->Zero, bits = h->Bits, historySize = h->historySize;
    const int64_t dataOffset = h->dataOffset;
    std::vector<Trace> traces = readAll(path, h.get());
    const std::string copy = dir.file("copy.DZT");
    std::vector<std::vector<float>> samples;
    std::vector<int> marks;
    for (const Trace& t : traces) {
      samples.push_back(t.samples);
      marks.push_back(t.mark);
    }
    msgs.clear();
    writeFile(copy, h.get(), samples, marks);
    EXPECT_EQ(msgs.count(10040), 0) << key << ": nothing clipped";
    GssiPtr back = readHeader(copy, 0);  // checksum now right: no warning
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Zero, zero) << key;
    EXPECT_EQ(back->Bits, bits) << key;
    EXPECT_EQ(back->Tag, 255);
    EXPECT_EQ(back->dataOffset, 1024);
    EXPECT_EQ(back->traceCount, (int)traces.size()) << key;
    ASSERT_EQ(back->historySize, historySize) << key;
    EXPECT_EQ(std::memcmp(back->history, h->history, (size_t)historySize), 0);
    std::vector<Trace> again = readAll(copy, back.get());
    ASSERT_EQ(again.size(), traces.size());
    for (size_t i = 0; i < traces.size(); ++i) {
      ASSERT_EQ(again[i].samples, traces[i].samples) << key << " trace " << i;
      EXPECT_EQ(again[i].mark, traces[i].mark) << key << " trace " << i;
    }
    const auto in = scrivel_test::readBytes(path), out = scrivel_test::readBytes(copy);
    const size_t width = (size_t)bits / 8, traceBytes = width * h->NSamp;
    ASSERT_EQ(out.size(), 1024 + traces.size() * traceBytes) << key;
    for (size_t i = 0; i < traces.size(); ++i)
      ASSERT_TRUE(std::equal(out.begin() + 1024 + i * traceBytes + 2 * width, out.begin() + 1024 + (i + 1) * traceBytes,
                             in.begin() + dataOffset + i * traceBytes + 2 * width))
          << key << ": stored values of trace " << i;
  }
}

// --- Edge cases --------------------------------------------------------------

TEST(GssiEdgeCases, UnusualSampleCountWarnsOnceAndReads) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("n500.DZT");
  GssiPtr h = newHeader(16, 500);
  writeFile(path, h.get(), {std::vector<float>(500, 7.0f)});
  EXPECT_EQ(msgs.count(10012), 1) << "the writer warns too";
  msgs.clear();
  GssiPtr r = readHeader(path, 1);
  ASSERT_TRUE(r);
  EXPECT_EQ(msgs.numbers(), (std::vector<int>{10012}));
  EXPECT_EQ(msgs.all()[0].text,
            "Warning: GSSI file " + path + " does not have 128, 256, 512, 1024 or 2048 samples/trace");
  EXPECT_EQ(r->traceCount, 1);
}

TEST(GssiEdgeCases, MarkDetectionFromTheMarkerByteHistogram) {
  MessageCapture msgs;
  TempDir dir;
  // Two traces, one marked: 0xF0 and 0xE8 occur equally often -> 0xE8.
  const std::string two = dir.file("two.DZT");
  GssiPtr h = newHeader(8, 128);
  std::vector<float> flat(128, 10.0f);
  writeFile(two, h.get(), {flat, flat}, {0, 1});
  GssiPtr r = readHeader(two, 0);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->hasMarks, 1);
  EXPECT_EQ(r->markValue, 0xE8);
  std::vector<Trace> t = readAll(two, r.get());
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].mark, 0);
  EXPECT_EQ(t[1].mark, 1);
  EXPECT_EQ(t[1].samples[0], 0.0f) << "marker samples read as the zero level";
  EXPECT_EQ(t[1].samples[2], 10.0f);

  // A third marker value: no marks at all, marker samples keep their values.
  const std::string three = dir.file("three.DZT");
  writeFile(three, h.get(), {flat, flat, flat}, {0, 1, 0});
  auto bytes = scrivel_test::readBytes(three);
  bytes[1024 + 2 * 128 + 1] = 0x10;
  scrivel_test::writeBytes(three, bytes);
  GssiPtr r3 = readHeader(three, 0);
  ASSERT_TRUE(r3);
  EXPECT_EQ(r3->hasMarks, 0);
  std::vector<Trace> t3 = readAll(three, r3.get());
  ASSERT_EQ(t3.size(), 3u);
  for (const Trace& tr : t3) EXPECT_EQ(tr.mark, 0);
  EXPECT_EQ(t3[0].samples[0], 0xFF - 128);
  EXPECT_EQ(t3[0].samples[1], 0xF0 - 128);
  EXPECT_EQ(t3[1].samples[1], 0xE8 - 128);
}

TEST(GssiEdgeCases, RangeGainIsRemovedOnReadAndRestoredOnWrite) {
  MessageCapture msgs;
  TempDir dir;
  // One gain point: no gain either way, and none is written.
  const std::string one = dir.file("one.DZT");
  GssiPtr h = newHeader(16, 128);
  h->rangeGainCount = 1;
  h->rangeGain = static_cast<float*>(std::malloc(sizeof(float)));
  h->rangeGain[0] = 20.0f;
  writeFile(one, h.get(), {std::vector<float>(128, 100.0f)});
  EXPECT_EQ(h->rangeGainSize, 0);
  auto bytes = scrivel_test::readBytes(one);
  EXPECT_EQ(scrivel::rdU16le(&bytes[1024 + 10]), 32768 + 100);
  GssiPtr r = readHeader(one, 0);
  ASSERT_TRUE(r);
  r->rangeGainCount = 1;  // even a one-point curve in the record is ignored
  r->rangeGain = static_cast<float*>(std::malloc(sizeof(float)));
  r->rangeGain[0] = 20.0f;
  EXPECT_EQ(readAll(one, r.get())[0].samples[5], 100.0f);

  // Three points 0, 20, 40 dB over 128 samples: segments of 64 samples.
  const std::string three = dir.file("gain.DZT");
  GssiPtr g = newHeader(16, 128);
  g->rangeGainCount = 3;
  g->rangeGain = static_cast<float*>(std::malloc(3 * sizeof(float)));
  g->rangeGain[0] = 0.0f;
  g->rangeGain[1] = 20.0f;
  g->rangeGain[2] = 40.0f;
  std::vector<float> in(128);
  for (int i = 0; i < 128; ++i) in[i] = 3.0f * (i % 2 ? 1 : -1) + (float)i * 0.7f;
  writeFile(three, g.get(), {in});
  bytes = scrivel_test::readBytes(three);
  // Sample 64 is at 20 dB: stored value is ten times the given one.
  EXPECT_NEAR((int)scrivel::rdU16le(&bytes[1024 + 128]) - 32768, in[64] * 10.0f, 1.0);
  GssiPtr rg = readHeader(three, 0);
  ASSERT_TRUE(rg);
  ASSERT_EQ(rg->rangeGainCount, 3);
  EXPECT_EQ(rg->rangeGain[2], 40.0f);
  std::vector<Trace> back = readAll(three, rg.get());
  for (int i = 2; i < 128; ++i) {
    double gainDb = i < 64 ? 20.0 * i / 64 : 20.0 + 20.0 * (i - 64) / 64;
    EXPECT_NEAR(back[0].samples[i], in[i], 0.51 * std::pow(10.0, -0.05 * gainDb) + 1e-4) << i;
  }
  EXPECT_TRUE(msgs.all().empty());
}

TEST(GssiEdgeCases, ClippingReportsOneBasedNumbersAndStoresTheLimit) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("clip.DZT");
  GssiPtr h = newHeader(8, 128);
  ASSERT_EQ(WriteGssiFHdr(path.c_str(), h.get()), 0);
  EXPECT_EQ(h->Zero, 128);
  dv::File f;
  ASSERT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  std::vector<float> t(128, 0.0f);
  t[2] = 200.0f;
  t[3] = -300.0f;
  t[4] = 127.7f;
  EXPECT_EQ(WriteGssiTrace(path.c_str(), &f, h.get(), 1, 0, t.data()), 1);
  f.close();
  ASSERT_EQ(msgs.count(10040), 2);
  EXPECT_EQ(msgs.texts(10040)[0], "Warning: Sample 3 in trace 2 caused a data overflow while writing file " +
                                      path + ", setting to maximum/minimum value");
  auto bytes = scrivel_test::readBytes(path);
  ASSERT_EQ(bytes.size(), 1024u + 2 * 128);
  EXPECT_EQ(bytes[1024 + 128 + 2], 255);
  EXPECT_EQ(bytes[1024 + 128 + 3], 0);
  EXPECT_EQ(bytes[1024 + 128 + 4], 255);
  EXPECT_EQ(bytes[1024 + 128 + 0], 0xFF);
  EXPECT_EQ(bytes[1024 + 128 + 1], 0xF0);
}

TEST(GssiEdgeCases, HeaderWriterLayoutAndRefusals) {
  MessageCapture msgs;
  TempDir dir;
  // Bits 24: an empty file is left and -99 returned.
  const std::string bad = dir.file("bad.DZT");
  GssiPtr h = newHeader(24, 256);
  EXPECT_EQ(WriteGssiFHdr(bad.c_str(), h.get()), -99);
  EXPECT_EQ(msgs.count(10011), 1);
  EXPECT_EQ(dv::fileSize(bad), 0);

  // Text and history follow the gain curve; an overlong text is cut to fit
  // the block and the sizes say what was written.
  const std::string good = dir.file("text.DZT");
  GssiPtr g = newHeader(16, 256);
  g->rangeGainCount = 2;
  g->rangeGain = static_cast<float*>(std::calloc(2, sizeof(float)));
  std::free(g->text);
  g->text = strdup("survey text");
  g->historySize = 4;
  g->history = static_cast<uint8_t*>(std::malloc(4));
  std::memcpy(g->history, "HIST", 4);
  ASSERT_EQ(WriteGssiFHdr(good.c_str(), g.get()), 0);
  EXPECT_EQ(g->rangeGainOffset, 128);
  EXPECT_EQ(g->rangeGainSize, 10);
  EXPECT_EQ(g->textOffset, 138);
  EXPECT_EQ(g->textSize, 12);
  EXPECT_EQ(g->historyOffset, 150);
  GssiPtr r = readHeader(good, 0);
  ASSERT_TRUE(r);
  EXPECT_STREQ(r->text, "survey text");
  EXPECT_EQ(std::memcmp(r->history, "HIST", 4), 0);

  std::free(g->text);
  g->text = static_cast<char*>(std::malloc(2001));
  std::memset(g->text, 'x', 2000);
  g->text[2000] = 0;
  ASSERT_EQ(WriteGssiFHdr(good.c_str(), g.get()), 0);
  EXPECT_EQ(g->textSize, 896 - 10);
  EXPECT_EQ(g->historySize, 0) << "no room left for the history";
  r = readHeader(good, 0);
  ASSERT_TRUE(r);
  EXPECT_EQ(std::strlen(r->text), 896u - 10 - 1);
}

// --- Hostile and damaged files ----------------------------------------------

TEST(GssiHostile, ShortAndHostileHeadersFailCleanly) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("h.DZT");
  std::vector<unsigned char> b(100, 0);
  b[0] = 0xFF;
  scrivel_test::writeBytes(path, b);
  EXPECT_FALSE(readHeader(path, -86));
  EXPECT_EQ(msgs.numbers(), (std::vector<int>{10010}));

  msgs.clear();
  b.assign(600, 0);
  b[0] = 0xFF;
  b[6] = 16;
  scrivel_test::writeBytes(path, b);
  EXPECT_FALSE(readHeader(path, -86));
  EXPECT_EQ(msgs.numbers(), (std::vector<int>{10012, 10013}));

  // A 2 KB file claiming 65535 samples, no channels, a gain curve of 65535
  // points, a text without terminator and a history reaching past the block.
  msgs.clear();
  b.assign(2048, 0);
  b[0] = 0xFF;
  scrivel::wrU16le(&b[4], 65535);
  b[6] = 16;
  scrivel::wrU16le(&b[40], 940);    // gain at block offset 812: room for 20 points
  scrivel::wrU16le(&b[42], 6);
  scrivel::wrU16le(&b[940], 65535);
  scrivel::wrU16le(&b[44], 1022);   // text in the last two bytes, no terminator
  scrivel::wrU16le(&b[46], 1);
  b[1022] = b[1023] = 'T';
  scrivel::wrU16le(&b[48], 1000);   // history of 65535 bytes from 1000
  scrivel::wrU16le(&b[50], 65535);
  b[1000] = 'H';
  scrivel::wrU16le(&b[52], 0);
  scrivel_test::writeBytes(path, b);
  GssiPtr h = readHeader(path, 1);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->rangeGainCount, 20) << "only the points inside the block";
  EXPECT_STREQ(h->text, "TT") << "text bounded by the block";
  ASSERT_NE(h->history, nullptr);
  EXPECT_EQ(h->history[0], 'H');
  EXPECT_EQ(h->history[65534], 0);
  EXPECT_EQ(h->traceCount, 0) << "2048 bytes hold no trace of 131070 bytes";

  // Channel headers larger than the file, and traces of no bytes.
  for (auto [nsamp, nchan] : {std::pair{128, 65535}, std::pair{0, 1}}) {
    b.assign(2048, 0);
    b[0] = 0xFF;
    scrivel::wrU16le(&b[4], (uint16_t)nsamp);
    b[6] = 8;
    scrivel::wrU16le(&b[52], (uint16_t)nchan);
    scrivel_test::writeBytes(path, b);
    GssiPtr z = readHeader(path, 1);
    ASSERT_TRUE(z);
    EXPECT_EQ(z->traceCount, 0) << nsamp << " " << nchan;
  }
}

TEST(GssiHostile, TraceReaderFailuresUseOneBasedNumbersAndQuiet) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("t.DZT");
  GssiPtr h = newHeader(16, 128);
  writeFile(path, h.get(), {std::vector<float>(128, 1.0f)});
  GssiPtr r = readHeader(path, 0);
  ASSERT_TRUE(r);
  dv::File f;
  ASSERT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  float* s = nullptr;
  int mark = 0;
  msgs.clear();
  EXPECT_EQ(ReadGssiTrace(path.c_str(), &f, r.get(), 4, &mark, &s, 0), -86);
  EXPECT_EQ(msgs.texts(10021), (std::vector<std::string>{"Error: Could not read trace 5 data in file " + path}));
  EXPECT_EQ(ReadGssiTrace(path.c_str(), &f, r.get(), -3, &mark, &s, 0), -84);
  EXPECT_EQ(msgs.count(10038), 1);
  r->Bits = 12;
  EXPECT_EQ(ReadGssiTrace(path.c_str(), &f, r.get(), 0, &mark, &s, 0), -99);
  EXPECT_EQ(msgs.count(10011), 1);
  msgs.clear();
  EXPECT_EQ(ReadGssiTrace(path.c_str(), &f, r.get(), 0, &mark, &s, 1), -99);
  r->Bits = 16;
  EXPECT_EQ(ReadGssiTrace(path.c_str(), &f, r.get(), 4, &mark, &s, 1), -86);
  EXPECT_TRUE(msgs.all().empty()) << "quiet reads report nothing";
  EXPECT_EQ(s, nullptr);
}

// --- Synthetic recordings and the header view ---------------------------------

TEST(GssiSynthetic, EightSixteenAndThirtyTwoBitLinesReadBackTheSection) {
  MessageCapture msgs;
  TempDir dir;
  for (int bits : {8, 16, 32}) {
    synth::LineRecipe recipe;
    recipe.traces = 60;
    recipe.samples = 256;
    recipe.markEvery = 20;
    recipe.bits = bits;
    const std::string path = dir.file("s" + std::to_string(bits) + ".DZT");
    ASSERT_EQ(synth::writeGssi(path, recipe), 0) << bits;
    GssiPtr h = readHeader(path, 0);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->traceCount, 60);
    EXPECT_EQ(h->hasMarks, 1);
    EXPECT_EQ(h->rangeGainCount, 5);
    std::vector<Trace> t = readAll(path, h.get());
    ASSERT_EQ(t.size(), 60u);
    const float scale = bits == 8 ? 100.0f / 20000.0f : 1.0f;
    for (int i = 0; i < 60; ++i) {
      EXPECT_EQ(t[i].mark, i > 0 && i % 20 == 0) << i;
      for (int s = 2; s < 256; s += 17)
        EXPECT_NEAR(t[i].samples[s], scale * synth::amplitude(recipe, i, s), 0.51) << i << " " << s;
    }
  }
  EXPECT_TRUE(msgs.all().empty());
}

TEST(GssiDescribe, ThirtyRowsWithTheViewLabels) {
  GssiPtr h = newHeader(16, 512);
  h->SPS = 100.0f;
  std::strcpy(h->AntName, "400MHz");
  scrivel::Fields rows;
  scrivel::describeGssi(h.get(), rows);
  const char* labels[] = {"Tag", "Data", "NSamp", "Bits", "Zero", "SPS", "SPM", "MPM", "Position",
                          "Range", "NPass", "CDT", "MDT", "NChan", "EPSR", "Top", "Depth",
                          "Reserved", "SPP", "LineNum", "Start X", "Start Y", "End X", "End Y",
                          "LineOrder", "DType", "AntName", "ChanMask", "Name", "ChkSum"};
  ASSERT_EQ(rows.size(), 30u);
  for (size_t i = 0; i < 30; ++i) EXPECT_EQ(rows[i].first, labels[i]);
  EXPECT_EQ(rows[2].second, "512");
  EXPECT_EQ(rows[5].second, "100.000000");
  EXPECT_EQ(rows[26].second, "400MHz");
}
