// SEG-2 reader and writer on synthetic files: both byte orders, every
// sample code, the terminators and keyword lists, and hostile headers.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dv/file.h"
#include "scrivel/seg2.h"
#include "synth.h"
#include "test_support.h"

using scrivel_test::MessageCapture;
using scrivel_test::readBytes;
using scrivel_test::TempDir;
using scrivel_test::writeBytes;

namespace {

struct Trace {
  std::vector<float> samples;
  std::string delay, interval, receiverLocation, receiver;
  int rc = 0;
};

// Reads every trace the header names; rc of the header in *headerRc.
std::vector<Trace> readAll(const std::string& path, int* headerRc, Seg2FHdr** keep = nullptr) {
  std::vector<Trace> out;
  Seg2FHdr* h = nullptr;
  *headerRc = ReadSeg2FHdr(path.c_str(), &h);
  if (*headerRc < 0) return out;
  dv::File f;
  EXPECT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  for (int i = 0; i < h->traces; ++i) {
    Seg2TraceHdr* t = nullptr;
    float* s = nullptr;
    Trace tr;
    tr.rc = ReadSeg2Trace(path.c_str(), &f, h, &t, i, &s, 0);
    if (tr.rc >= 0) {
      tr.samples.assign(s, s + t->samples);
      tr.delay = t->delay;
      tr.interval = t->sampleInterval;
      tr.receiverLocation = t->receiverLocation;
      tr.receiver = t->receiver;
      free(s);
      free(t);
    }
    out.push_back(std::move(tr));
  }
  if (keep)
    *keep = h;
  else
    CleanupSeg2FHdr(h);
  return out;
}

// Writes a small file through the library: `traces` traces of `n` samples
// with the given code, byte order and sample values value(trace, sample).
template <typename F>
int writeFile(const std::string& path, int traces, uint32_t n, int code, bool bigEndian, F value,
              uint8_t stringTermLength = 1) {
  Seg2FHdr* h = nullptr;
  CreateSeg2FHdr(&h);
  h->traces = (uint16_t)traces;
  h->bigEndian = bigEndian;
  h->stringTermLength = stringTermLength;
  free(h->units);
  h->units = strdup(" METERS");
  int rc = WriteSeg2FHdr(path.c_str(), h);
  dv::File f;
  EXPECT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  std::string delay = " -0.010", interval = " 0.000125", loc = " 12.5", recv = " GEOPHONE";
  for (int i = 0; i < traces && rc >= 0; ++i) {
    Seg2TraceHdr t{};
    t.samples = n;
    t.formatCode = (uint8_t)code;
    t.delay = delay.data();
    t.sampleInterval = interval.data();
    t.receiverLocation = loc.data();
    t.receiver = recv.data();
    std::vector<float> s(n);
    for (uint32_t k = 0; k < n; ++k) s[k] = value(i, (int)k);
    int r = WriteSeg2Trace(path.c_str(), &f, h, &t, i, s.data());
    EXPECT_EQ(t.samples, n) << "the record's sample count is restored";
    rc = r < 0 ? r : std::max(rc, r);
  }
  CleanupSeg2FHdr(h);
  return rc;
}

float wave(int t, int k) { return (float)std::round(3000.0 * std::sin(0.05 * k + t) + 7 * k - 900); }

uint32_t le32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | ((uint32_t)b[at + 3] << 24);
}
void put16(std::vector<unsigned char>& b, size_t at, uint16_t v) {
  b[at] = (unsigned char)v;
  b[at + 1] = (unsigned char)(v >> 8);
}
void put32(std::vector<unsigned char>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (unsigned char)(v >> (8 * i));
}

}  // namespace

// ---------------------------------------------------------------------------
// Every sample code in both byte orders reads back what was written.

class Seg2Codes : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(Seg2Codes, WriteThenReadGivesTheSamples) {
  auto [code, be] = GetParam();
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("line.sg2");
  ASSERT_EQ(writeFile(path, 3, 64, code, be, wave), 0) << testing::PrintToString(cap.numbers());
  auto bytes = readBytes(path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], be ? 0x3A : 0x55);
  EXPECT_EQ(bytes[1], be ? 0x55 : 0x3A);
  Seg2FHdr* h = nullptr;
  int rc;
  auto traces = readAll(path, &rc, &h);
  ASSERT_EQ(rc, 0);
  EXPECT_EQ(h->bigEndian, be ? 1 : 0);
  EXPECT_STREQ(h->units, " METERS");
  EXPECT_EQ(h->revision, 1);
  CleanupSeg2FHdr(h);
  ASSERT_EQ(traces.size(), 3u);
  for (int t = 0; t < 3; ++t) {
    ASSERT_EQ(traces[t].rc, 0);
    ASSERT_EQ(traces[t].samples.size(), 64u);
    EXPECT_EQ(traces[t].delay, " -0.010");
    EXPECT_EQ(traces[t].interval, " 0.000125");
    for (int k = 0; k < 64; ++k) EXPECT_EQ(traces[t].samples[k], wave(t, k)) << t << "," << k;
  }
  EXPECT_TRUE(cap.all().empty());
}

INSTANTIATE_TEST_SUITE_P(AllCodesBothOrders, Seg2Codes,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4, 5), ::testing::Bool()));

TEST(Seg2Write, BigEndianFileIsWrittenBackBigEndian) {
  MessageCapture cap;
  TempDir dir;
  const std::string in = dir.file("be.sg2"), out = dir.file("copy.sg2");
  ASSERT_EQ(writeFile(in, 2, 12, 1, true, wave), 0);
  Seg2FHdr* h = nullptr;
  ASSERT_EQ(ReadSeg2FHdr(in.c_str(), &h), 0);
  ASSERT_EQ(WriteSeg2FHdr(out.c_str(), h), 0);
  dv::File r, w;
  ASSERT_EQ(OpenFileForRead(in.c_str(), &r), 0);
  ASSERT_EQ(OpenFileForWrite(out.c_str(), &w), 0);
  for (int i = 0; i < 2; ++i) {
    Seg2TraceHdr* t = nullptr;
    float* s = nullptr;
    ASSERT_EQ(ReadSeg2Trace(in.c_str(), &r, h, &t, i, &s, 0), 0);
    ASSERT_EQ(WriteSeg2Trace(out.c_str(), &w, h, t, i, s), 0);
    free(s);
    free(t);
  }
  w.close();
  CleanupSeg2FHdr(h);
  EXPECT_EQ(readBytes(out), readBytes(in));
}

TEST(Seg2Write, BigEndianTwinHoldsTheSameBytesSwapped) {
  MessageCapture cap;
  TempDir dir;
  ASSERT_EQ(writeFile(dir.file("le.sg2"), 2, 16, 2, false, wave), 0);
  ASSERT_EQ(writeFile(dir.file("be.sg2"), 2, 16, 2, true, wave), 0);
  auto le = readBytes(dir.file("le.sg2")), be = readBytes(dir.file("be.sg2"));
  ASSERT_EQ(le.size(), be.size());
  // Pointer of trace 0 at offset 32, sample 0 of trace 0 after its descriptor.
  uint32_t p = le32(le, 32);
  EXPECT_EQ(be[32], (p >> 24) & 0xFF);
  EXPECT_EQ(be[35], p & 0xFF);
  uint16_t desc = le[p + 2] | (le[p + 3] << 8);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(le[p + desc + i], be[p + desc + 3 - i]);
}

// ---------------------------------------------------------------------------
// 20-bit floating point packing.

TEST(Seg2Float20, TwoMillionStoresExponentSixAndOneE10Clips) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("f20.sg2");
  std::vector<float> v = {2.0e6f, -3.0f, 1.0e10f, -1.0e10f};
  ASSERT_EQ(writeFile(path, 1, 4, 3, false, [&](int, int k) { return v[k]; }), 1);
  EXPECT_EQ(cap.count(10040), 2);
  ASSERT_EQ(cap.texts(10040).size(), 2u);
  EXPECT_NE(cap.texts(10040)[0].find("Sample 3 in trace 1"), std::string::npos);
  auto b = readBytes(path);
  size_t p = le32(b, 32);
  size_t d = p + (b[p + 2] | (b[p + 3] << 8));
  uint16_t exps = b[d] | (b[d + 1] << 8);
  EXPECT_EQ(exps & 15, 6);
  EXPECT_EQ((int16_t)(b[d + 2] | (b[d + 3] << 8)), 31250);  // 2.0e6 / 64
  EXPECT_EQ((exps >> 4) & 15, 0);
  EXPECT_EQ((int16_t)(b[d + 4] | (b[d + 5] << 8)), -3);
  EXPECT_EQ((exps >> 8) & 15, 15);
  EXPECT_EQ((int16_t)(b[d + 6] | (b[d + 7] << 8)), 32767);
  EXPECT_EQ((int16_t)(b[d + 8] | (b[d + 9] << 8)), -32768);
  int rc;
  auto t = readAll(path, &rc);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].samples[0], 2.0e6f);
  EXPECT_EQ(t[0].samples[2], 32767.0f * 32768.0f);
}

TEST(Seg2Float20, MantissaJustBelowTheTopDoesNotWrapNegative) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("top.sg2");
  ASSERT_EQ(writeFile(path, 1, 4, 3, false, [](int, int) { return 32767.7f; }), 0);
  int rc;
  auto t = readAll(path, &rc);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].samples[0], 32767.0f);
}

TEST(Seg2Float20, ATraceOf1001SamplesReads1000WithMessage10035) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("odd.sg2");
  ASSERT_EQ(writeFile(path, 1, 1004, 3, false, wave), 0);
  auto b = readBytes(path);
  put32(b, le32(b, 32) + 8, 1001);
  writeBytes(path, b);
  cap.clear();
  int rc;
  auto t = readAll(path, &rc);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].rc, 1);
  EXPECT_EQ(t[0].samples.size(), 1000u);
  ASSERT_EQ(cap.count(10035), 1);
  EXPECT_EQ(cap.texts(10035)[0], "Warning: SEG-2 20-bit floating point file " + path +
                                     " does not have a multiple of 4 samples in trace 1, "
                                     "reducing samples from 1001 to 1000");
}

TEST(Seg2Float20, WriterRoundsTheCountDownToFullGroups) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("w.sg2");
  EXPECT_EQ(writeFile(path, 1, 10, 3, false, wave), 1);
  EXPECT_EQ(cap.count(10035), 1);
  int rc;
  auto t = readAll(path, &rc);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].samples.size(), 8u);
}

// ---------------------------------------------------------------------------
// Counts and sizes that disagree with each other.

TEST(Seg2Counts, FewerPointersThanTracesReadsThePointedTraces) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("p.sg2");
  ASSERT_EQ(writeFile(path, 3, 8, 1, false, wave), 0);
  auto b = readBytes(path);
  put16(b, 6, 5);  // claims 5 traces, 12 bytes of pointers
  writeBytes(path, b);
  cap.clear();
  int rc;
  auto t = readAll(path, &rc);
  EXPECT_EQ(rc, 1);
  ASSERT_EQ(cap.count(10023), 1);
  EXPECT_EQ(cap.texts(10023)[0], "Warning: " + path +
                                     " does not have enough trace pointers for the number of "
                                     "traces, reducing traces from 5 to 3");
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[2].samples[7], wave(2, 7));
}

TEST(Seg2Counts, ShortDataBlockCutsToTheWholeSamplesThatFit) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("d.sg2");
  ASSERT_EQ(writeFile(path, 1, 16, 2, false, wave), 0);
  auto b = readBytes(path);
  put32(b, le32(b, 32) + 4, 26);  // 6.5 int32 samples
  writeBytes(path, b);
  cap.clear();
  int rc;
  auto t = readAll(path, &rc);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].rc, 1);
  EXPECT_EQ(t[0].samples.size(), 6u);
  ASSERT_EQ(cap.count(10034), 1);
  EXPECT_NE(cap.texts(10034)[0].find("in trace 1, reducing samples from 16 to 6"), std::string::npos);
}

TEST(Seg2Counts, WriterRefusesPointersPastTheSubBlock) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("x.sg2");
  Seg2FHdr* h = nullptr;
  CreateSeg2FHdr(&h);
  h->traces = 1;
  ASSERT_EQ(WriteSeg2FHdr(path.c_str(), h), 0);
  auto before = readBytes(path);
  dv::File f;
  ASSERT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  Seg2TraceHdr t{};
  t.samples = 4;
  t.formatCode = 1;
  float s[4] = {1, 2, 3, 4};
  EXPECT_EQ(WriteSeg2Trace(path.c_str(), &f, h, &t, 1, s), -84);
  EXPECT_EQ(cap.count(10041), 1);
  f.close();
  EXPECT_EQ(readBytes(path), before) << "the file strings are left alone";
  CleanupSeg2FHdr(h);
}

TEST(Seg2Counts, HeaderWriterCutsTracesToWhatThePointerBlockHolds) {
  MessageCapture cap;
  TempDir dir;
  Seg2FHdr* h = nullptr;
  CreateSeg2FHdr(&h);
  h->traces = 20000;
  EXPECT_EQ(WriteSeg2FHdr(dir.file("big.sg2").c_str(), h), 1);
  EXPECT_EQ(cap.count(10023), 1);
  EXPECT_EQ(h->traces, SEG2_MAX_TRACES);
  EXPECT_EQ(h->pointerBlockSize, 4 * SEG2_MAX_TRACES);
  CleanupSeg2FHdr(h);
}

// ---------------------------------------------------------------------------
// Terminators and keyword strings.

TEST(Seg2Strings, TerminatorOfLengthThreeReadsZeroTerminatedWith10024) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("t.sg2");
  ASSERT_EQ(writeFile(path, 1, 4, 1, false, wave), 0);
  auto b = readBytes(path);
  b[8] = 3;
  b[11] = 7;  // and an invalid line terminator
  writeBytes(path, b);
  cap.clear();
  Seg2FHdr* h = nullptr;
  int rc;
  auto t = readAll(path, &rc, &h);
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(cap.count(10024), 1);
  EXPECT_EQ(cap.count(10025), 1);
  EXPECT_EQ(h->stringTermLength, 1);
  EXPECT_EQ(h->lineTermLength, 1);
  EXPECT_EQ(h->lineTerm1, 10);
  EXPECT_STREQ(h->units, " METERS");
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].delay, " -0.010");
  CleanupSeg2FHdr(h);
}

TEST(Seg2Strings, TwoCharacterTerminatorAndLongerKeywordsFirst) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("t2.sg2");
  Seg2FHdr* h = nullptr;
  CreateSeg2FHdr(&h);
  h->traces = 1;
  h->stringTermLength = 2;
  h->stringTerm1 = ';';
  h->stringTerm2 = '\r';
  ASSERT_EQ(WriteSeg2FHdr(path.c_str(), h), 0);
  dv::File f;
  ASSERT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  Seg2TraceHdr t{};
  t.samples = 4;
  t.formatCode = 4;
  std::string a = " 1 2 3", b = " HYDROPHONE", c = " 5", d = " 7";
  t.receiverLocation = a.data();
  t.receiver = b.data();
  t.sourceStationNumber = c.data();
  t.source = d.data();
  float s[4] = {1, 2, 3, 4};
  ASSERT_EQ(WriteSeg2Trace(path.c_str(), &f, h, &t, 0, s), 0);
  f.close();
  CleanupSeg2FHdr(h);
  ASSERT_EQ(ReadSeg2FHdr(path.c_str(), &h), 0);
  ASSERT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  Seg2TraceHdr* r = nullptr;
  float* out = nullptr;
  ASSERT_EQ(ReadSeg2Trace(path.c_str(), &f, h, &r, 0, &out, 0), 0);
  EXPECT_STREQ(r->receiverLocation, " 1 2 3");
  EXPECT_STREQ(r->receiver, " HYDROPHONE");
  EXPECT_STREQ(r->sourceStationNumber, " 5");
  EXPECT_STREQ(r->source, " 7");
  EXPECT_STREQ(r->receiverGeometry, "");
  free(out);
  free(r);
  CleanupSeg2FHdr(h);
}

TEST(Seg2Strings, UnknownKeywordsAreSkippedAndAnUnendedListOverruns) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("s.sg2");
  // File block, no traces; strings: an unknown keyword, NOTE, then an entry
  // whose terminator is missing.
  std::vector<unsigned char> b(32, 0);
  put16(b, 0, 0x3A55);
  put16(b, 2, 1);
  b[8] = 1;
  b[11] = 1;
  b[12] = 10;
  auto entry = [&](const std::string& text, bool terminate) {
    size_t at = b.size();
    b.resize(at + 2);
    put16(b, at, (uint16_t)(text.size() + 2 + terminate));
    b.insert(b.end(), text.begin(), text.end());
    if (terminate) b.push_back(0);
  };
  entry("SERIAL_STRING 0042", true);
  entry("NOTE line one\nline two", true);
  entry("CLIENT nobody", false);
  writeBytes(path, b);
  Seg2FHdr* h = nullptr;
  EXPECT_EQ(ReadSeg2FHdr(path.c_str(), &h), 1);
  EXPECT_EQ(cap.count(10029), 1);
  ASSERT_NE(h, nullptr);
  EXPECT_STREQ(h->note, " line one\nline two");
  EXPECT_STREQ(h->client, "");
  CleanupSeg2FHdr(h);
}

// ---------------------------------------------------------------------------
// Hostile and broken files: the code and message of the text, no crash, no
// allocation sized by a header field.

class Seg2Hostile : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.file("h.sg2");
    ASSERT_EQ(writeFile(path, 2, 8, 2, false, wave), 0);
    bytes = readBytes(path);
    p0 = le32(bytes, 32);
    cap.clear();
  }
  // Reads trace `index` of the patched file; returns its code.
  int readTrace(int index, int quiet = 0) {
    writeBytes(path, bytes);
    Seg2FHdr* h = nullptr;
    int rc = ReadSeg2FHdr(path.c_str(), &h);
    if (rc < 0) return rc;
    dv::File f;
    EXPECT_EQ(OpenFileForRead(path.c_str(), &f), 0);
    Seg2TraceHdr* t = nullptr;
    float* s = nullptr;
    rc = ReadSeg2Trace(path.c_str(), &f, h, &t, index, &s, quiet);
    if (rc >= 0) {
      free(s);
      free(t);
    }
    CleanupSeg2FHdr(h);
    return rc;
  }
  MessageCapture cap;
  TempDir dir;
  std::string path;
  std::vector<unsigned char> bytes;
  uint32_t p0 = 0;
};

TEST_F(Seg2Hostile, NotSeg2AndMissingFile) {
  EXPECT_EQ(IsSeg2File(dir.file("none.sg2").c_str()), -90);
  Seg2FHdr* h = nullptr;
  EXPECT_EQ(ReadSeg2FHdr(dir.file("none.sg2").c_str(), &h), -90);
  EXPECT_EQ(cap.count(10001), 1);
  bytes[0] = 'M';
  writeBytes(path, bytes);
  EXPECT_EQ(IsSeg2File(path.c_str()), -94);
  EXPECT_EQ(ReadSeg2FHdr(path.c_str(), &h), -94);
  EXPECT_EQ(h, nullptr);
  ASSERT_EQ(cap.count(10008), 1);
  EXPECT_EQ(cap.texts(10008)[0], "Error: " + path + " is not a SEG-2 file");
  writeBytes(path, {0x55});
  EXPECT_EQ(IsSeg2File(path.c_str()), -94);
  writeBytes(path, {0x55, 0x3A, 1, 0});
  EXPECT_EQ(ReadSeg2FHdr(path.c_str(), &h), -86);
  EXPECT_EQ(cap.count(10022), 1);
  EXPECT_EQ(h, nullptr);
}

TEST_F(Seg2Hostile, FirstPointerFarPastTheEndFailsWithoutReadingStrings) {
  put32(bytes, 32, 0xFFFFFFF0u);
  writeBytes(path, bytes);
  Seg2FHdr* h = nullptr;
  EXPECT_EQ(ReadSeg2FHdr(path.c_str(), &h), -86);
  EXPECT_EQ(cap.count(10028), 1);
  EXPECT_EQ(h, nullptr);
}

TEST_F(Seg2Hostile, TruncatedPointerBlock) {
  bytes.resize(34);
  EXPECT_EQ(readTrace(0), -86);
  EXPECT_EQ(cap.count(10026), 1);
}

TEST_F(Seg2Hostile, HugeSampleCountIsCheckedAgainstTheFileFirst) {
  put32(bytes, p0 + 4, 0xFFFFFFFFu);  // data block size
  put32(bytes, p0 + 8, 0x80000000u);  // 2^31 samples
  EXPECT_EQ(readTrace(0), -86);
  ASSERT_EQ(cap.count(10039), 1);
  EXPECT_NE(cap.texts(10039)[0].find("in trace 1 from file"), std::string::npos);
}

TEST_F(Seg2Hostile, WrongBlockIdAndSampleCode) {
  bytes[p0] = 0x23;
  EXPECT_EQ(readTrace(0), -93);
  EXPECT_EQ(cap.count(10032), 1);
  bytes[p0] = 0x22;
  bytes[p0 + 12] = 6;
  EXPECT_EQ(readTrace(0), -93);
  ASSERT_EQ(cap.count(10033), 1);
  EXPECT_EQ(cap.texts(10033)[0], "Error: " + path + " has an invalid sample data type in trace 1");
}

TEST_F(Seg2Hostile, PointerPastTheEndAndIndexOutOfRange) {
  put32(bytes, 36, 1u << 30);
  EXPECT_EQ(readTrace(1), -86);
  EXPECT_EQ(cap.count(10031), 1);
  EXPECT_EQ(readTrace(2), -84);
  EXPECT_EQ(readTrace(-1), -84);
  EXPECT_EQ(cap.count(10030), 2);
}

TEST_F(Seg2Hostile, DescriptorStringsOverrunTheirBlock) {
  put16(bytes, p0 + 32, 0x7000);  // first entry's offset jumps far out
  EXPECT_EQ(readTrace(0), 1);
  EXPECT_EQ(cap.count(10037), 1);
}

TEST_F(Seg2Hostile, QuietFlagSilencesEveryTraceMessage) {
  put32(bytes, p0 + 4, 0xFFFFFFFFu);
  put32(bytes, p0 + 8, 0x80000000u);
  EXPECT_EQ(readTrace(0, 1), -86);
  bytes[p0 + 12] = 9;
  EXPECT_EQ(readTrace(0, 1), -93);
  EXPECT_EQ(readTrace(5, 1), -84);
  EXPECT_TRUE(cap.all().empty()) << testing::PrintToString(cap.numbers());
}

// ---------------------------------------------------------------------------

TEST(Seg2Synth, SyntheticLineReadsTheSharedSection) {
  MessageCapture cap;
  TempDir dir;
  synth::LineSpec spec;
  spec.traces = 12;
  spec.samples = 100;
  spec.bits = 4;
  std::string path = dir.file("LINE.SG2");
  ASSERT_EQ(synth::writeSeg2(path, spec), 0);
  int rc;
  auto t = readAll(path, &rc);
  ASSERT_EQ(rc, 0);
  ASSERT_EQ(t.size(), 12u);
  for (int i = 0; i < 12; i += 5)
    for (int k = 0; k < 100; k += 7) EXPECT_EQ(t[i].samples[k], synth::amplitude(spec, i, k));
  EXPECT_NEAR(std::strtod(t[0].interval.c_str(), nullptr), 100e-9 / 99, 1e-20);
}
