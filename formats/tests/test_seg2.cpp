// SEG-2 reader and writer on synthetic files: both byte orders, every
// sample code, terminators and keyword lists, and hostile headers.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dv/file.h"
#include "scrivel/seg2.h"
#include "test_support.h"

using scrivel_test::MessageCapture;
using scrivel_test::readBytes;
using scrivel_test::TempDir;
using scrivel_test::writeBytes;
using Bytes = std::vector<unsigned char>;

namespace {

struct Trace {
  int rc = 0;
  std::vector<float> samples;
  std::string delay, receiver, receiverLocation;
};

// Every trace the header names; the header's code in *headerRc.
std::vector<Trace> readAll(const std::string& path, int* headerRc, Seg2FHdr** keep = nullptr) {
  std::vector<Trace> out;
  Seg2FHdr* h = nullptr;
  if ((*headerRc = ReadSeg2FHdr(path.c_str(), &h)) < 0) return out;
  dv::File f;
  EXPECT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  for (int i = 0; i < h->traces; ++i) {
    Seg2TraceHdr* t = nullptr;
    float* s = nullptr;
    Trace tr;
    if ((tr.rc = ReadSeg2Trace(path.c_str(), &f, h, &t, i, &s, 0)) >= 0) {
      tr.samples.assign(s, s + t->samples);
      tr.delay = t->delay;
      tr.receiver = t->receiver;
      tr.receiverLocation = t->receiverLocation;
      free(s);
      free(t);
    }
    out.push_back(std::move(tr));
  }
  keep ? (void)(*keep = h) : (void)CleanupSeg2FHdr(h);
  return out;
}

float wave(int t, int k) { return (float)std::round(3000.0 * std::sin(0.05 * k + t) + 7 * k - 900); }

// Writes `traces` traces of n samples through the library; `edit` may change
// the header record before it is written.
template <typename F>
int writeFile(const std::string& path, int traces, uint32_t n, int code, bool be, F value,
              void (*edit)(Seg2FHdr*) = nullptr) {
  Seg2FHdr* h = nullptr;
  CreateSeg2FHdr(&h);
  h->traces = (uint16_t)traces;
  h->bigEndian = be;
  free(h->units);
  h->units = strdup(" METERS");
  if (edit) edit(h);
  int rc = WriteSeg2FHdr(path.c_str(), h);
  dv::File f;
  EXPECT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  std::string delay = " -0.010", loc = " 1 2 3", recv = " GEOPHONE";
  for (int i = 0; i < traces && rc >= 0; ++i) {
    Seg2TraceHdr t{};
    t.samples = n;
    t.formatCode = (uint8_t)code;
    t.delay = delay.data();
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

uint32_t le32(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | ((uint32_t)b[at + 3] << 24);
}
void put16(Bytes& b, size_t at, uint16_t v) {
  b[at] = (unsigned char)v;
  b[at + 1] = (unsigned char)(v >> 8);
}
void put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (unsigned char)(v >> (8 * i));
}

}  // namespace

// ---------------------------------------------------------------------------

class Seg2Codes : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(Seg2Codes, WriteThenReadGivesTheSamples) {
  auto [code, be] = GetParam();
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("line.sg2");
  ASSERT_EQ(writeFile(path, 3, 64, code, be, wave), 0) << testing::PrintToString(cap.numbers());
  Bytes b = readBytes(path);
  EXPECT_EQ(b[0], be ? 0x3A : 0x55);
  Seg2FHdr* h = nullptr;
  int rc;
  auto traces = readAll(path, &rc, &h);
  ASSERT_EQ(rc, 0);
  EXPECT_EQ(h->bigEndian, be ? 1 : 0);
  EXPECT_STREQ(h->units, " METERS");
  CleanupSeg2FHdr(h);
  ASSERT_EQ(traces.size(), 3u);
  for (int t = 0; t < 3; ++t) {
    ASSERT_EQ(traces[t].samples.size(), 64u);
    EXPECT_EQ(traces[t].delay, " -0.010");
    for (int k = 0; k < 64; ++k) EXPECT_EQ(traces[t].samples[k], wave(t, k)) << t << "," << k;
  }
  EXPECT_TRUE(cap.all().empty());
}

INSTANTIATE_TEST_SUITE_P(AllCodesBothOrders, Seg2Codes,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4, 5), ::testing::Bool()));

TEST(Seg2Write, BigEndianFileIsWrittenBackByteForByte) {
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

// 20-bit floats: exponent nibbles and rounding of the mantissas.
TEST(Seg2Float20, PackingRoundingAndClipping) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("f20.sg2");
  std::vector<float> v = {2.0e6f, -3.0f, 1.0e10f, 32767.7f};
  ASSERT_EQ(writeFile(path, 1, 4, 3, false, [&](int, int k) { return v[k]; }), 1);
  ASSERT_EQ(cap.texts(10040), std::vector<std::string>{"Warning: Sample 3 in trace 1 caused a data overflow while "
                                                       "writing file " + path + ", setting to maximum/minimum value"});
  Bytes b = readBytes(path);
  size_t p = le32(b, 32), d = p + (b[p + 2] | (b[p + 3] << 8));
  EXPECT_EQ(b[d] | (b[d + 1] << 8), 6 | 0 << 4 | 15 << 8 | 0 << 12) << "exponents 6, 0, 15, 0";
  auto mantissa = [&](int j) { return (int16_t)(b[d + 2 + 2 * j] | (b[d + 3 + 2 * j] << 8)); };
  EXPECT_EQ(mantissa(0), 31250);   // 2.0e6 / 64
  EXPECT_EQ(mantissa(1), -3);      // rounded to nearest, not toward zero
  EXPECT_EQ(mantissa(2), 32767);   // clipped
  EXPECT_EQ(mantissa(3), 32767);   // rounding must not wrap past the top
  int rc;
  auto t = readAll(path, &rc);
  EXPECT_EQ(t.at(0).samples, (std::vector<float>{2.0e6f, -3.0f, 32767.0f * 32768.0f, 32767.0f}));
}

TEST(Seg2Float20, CountNotAMultipleOfFourReadsTheWholeGroupsWithAWarning) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("odd.sg2");
  ASSERT_EQ(writeFile(path, 1, 1004, 3, false, wave), 0);
  Bytes b = readBytes(path);
  put32(b, le32(b, 32) + 8, 1001);
  writeBytes(path, b);
  int rc;
  auto t = readAll(path, &rc);
  EXPECT_EQ(t.at(0).rc, 1);
  EXPECT_EQ(t[0].samples.size(), 1000u);
  EXPECT_EQ(cap.texts(10035), std::vector<std::string>{"Warning: SEG-2 20-bit floating point file " + path +
                                                       " does not have a multiple of 4 samples in trace 1, "
                                                       "reducing samples from 1001 to 1000"});
}

// ---------------------------------------------------------------------------
// Counts and sizes that disagree with each other.

TEST(Seg2Counts, FewerPointersThanTracesReadsThePointedTraces) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("p.sg2");
  ASSERT_EQ(writeFile(path, 3, 8, 1, false, wave), 0);
  Bytes b = readBytes(path);
  put16(b, 6, 5);  // 5 traces, 12 bytes of pointers
  writeBytes(path, b);
  int rc;
  auto t = readAll(path, &rc);
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(cap.texts(10023), std::vector<std::string>{"Warning: " + path +
                                                       " does not have enough trace pointers for the number of "
                                                       "traces, reducing traces from 5 to 3"});
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[2].samples[7], wave(2, 7));
}

TEST(Seg2Counts, ShortDataBlockCutsToTheWholeSamplesThatFit) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("d.sg2");
  ASSERT_EQ(writeFile(path, 1, 16, 2, false, wave), 0);
  Bytes b = readBytes(path);
  put32(b, le32(b, 32) + 4, 26);  // 6.5 int32 samples
  writeBytes(path, b);
  int rc;
  auto t = readAll(path, &rc);
  EXPECT_EQ(t.at(0).rc, 1);
  EXPECT_EQ(t[0].samples.size(), 6u);
  ASSERT_EQ(cap.count(10034), 1);
  EXPECT_NE(cap.texts(10034)[0].find("in trace 1, reducing samples from 16 to 6"), std::string::npos);
}

TEST(Seg2Counts, WritersStayInsideThePointerBlock) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("x.sg2");
  Seg2FHdr* h = nullptr;
  CreateSeg2FHdr(&h);
  h->traces = 1;
  ASSERT_EQ(WriteSeg2FHdr(path.c_str(), h), 0);
  Bytes before = readBytes(path);
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
  // A 16-bit pointer block size holds 16383 pointers: more traces are cut.
  h->traces = 20000;
  EXPECT_EQ(WriteSeg2FHdr(path.c_str(), h), 1);
  EXPECT_EQ(cap.count(10023), 1);
  EXPECT_EQ(h->traces, SEG2_MAX_TRACES);
  EXPECT_EQ(h->pointerBlockSize, 4 * SEG2_MAX_TRACES);
  CleanupSeg2FHdr(h);
}

// ---------------------------------------------------------------------------
// Terminators and keyword strings.

TEST(Seg2Strings, InvalidTerminatorLengthsReadAsZeroAndLineFeed) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("t.sg2");
  ASSERT_EQ(writeFile(path, 1, 4, 1, false, wave), 0);
  Bytes b = readBytes(path);
  b[8] = 3;   // string terminator length
  b[11] = 7;  // line terminator length
  writeBytes(path, b);
  Seg2FHdr* h = nullptr;
  int rc;
  auto t = readAll(path, &rc, &h);
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(cap.numbers(), (std::vector<int>{10024, 10025}));
  EXPECT_EQ(h->stringTermLength, 1);
  EXPECT_EQ(h->lineTerm1, 10);
  EXPECT_STREQ(h->units, " METERS");
  EXPECT_EQ(t.at(0).delay, " -0.010");
  CleanupSeg2FHdr(h);
}

TEST(Seg2Strings, TwoCharacterTerminatorAndLongerKeywordsFirst) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("t2.sg2");
  auto edit = [](Seg2FHdr* h) {
    h->stringTermLength = 2;
    h->stringTerm1 = ';';
    h->stringTerm2 = '\r';
  };
  ASSERT_EQ(writeFile(path, 1, 4, 4, false, wave, edit), 0);
  int rc;
  auto t = readAll(path, &rc);
  ASSERT_EQ(rc, 0);
  EXPECT_EQ(t.at(0).receiverLocation, " 1 2 3") << "RECEIVER_LOCATION is not taken for RECEIVER";
  EXPECT_EQ(t[0].receiver, " GEOPHONE");
  EXPECT_EQ(t[0].delay, " -0.010");
}

TEST(Seg2Strings, UnknownKeywordsAreSkippedAndAnUnendedListOverruns) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("s.sg2");
  Bytes b(32, 0);  // no traces: the strings run to the end of the file
  put16(b, 0, 0x3A55);
  b[8] = b[11] = 1;
  b[12] = 10;
  auto entry = [&](const std::string& text, bool terminated) {
    size_t at = b.size();
    b.resize(at + 2);
    put16(b, at, (uint16_t)(text.size() + 2 + terminated));
    b.insert(b.end(), text.begin(), text.end());
    if (terminated) b.push_back(0);
  };
  entry("SERIAL_STRING 0042", true);
  entry("NOTE line one\nline two", true);
  entry("CLIENT nobody", false);
  writeBytes(path, b);
  Seg2FHdr* h = nullptr;
  EXPECT_EQ(ReadSeg2FHdr(path.c_str(), &h), 1);
  EXPECT_EQ(cap.count(10029), 1);
  EXPECT_STREQ(h->note, " line one\nline two");
  EXPECT_STREQ(h->client, "");
  CleanupSeg2FHdr(h);
}

// ---------------------------------------------------------------------------
// Hostile and broken files: the code and message of the text, no crash and
// no allocation sized by a header field.

class Seg2Hostile : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.file("h.sg2");
    ASSERT_EQ(writeFile(path, 2, 8, 2, false, wave), 0);
    bytes = readBytes(path);
    p0 = le32(bytes, 32);
    cap.clear();
  }
  // Writes the patched bytes and reads trace `index`; returns the first
  // failing code (header or trace).
  int readTrace(int index, int quiet = 0) {
    writeBytes(path, bytes);
    Seg2FHdr* h = nullptr;
    int rc = ReadSeg2FHdr(path.c_str(), &h);
    if (rc < 0) return rc;
    dv::File f;
    EXPECT_EQ(OpenFileForRead(path.c_str(), &f), 0);
    Seg2TraceHdr* t = nullptr;
    float* s = nullptr;
    if ((rc = ReadSeg2Trace(path.c_str(), &f, h, &t, index, &s, quiet)) >= 0) {
      free(s);
      free(t);
    }
    CleanupSeg2FHdr(h);
    return rc;
  }
  MessageCapture cap;
  TempDir dir;
  std::string path;
  Bytes bytes;
  uint32_t p0 = 0;
};

TEST_F(Seg2Hostile, NotSeg2ShortAndMissing) {
  Seg2FHdr* h = nullptr;
  EXPECT_EQ(IsSeg2File(dir.file("none.sg2").c_str()), -90);
  EXPECT_EQ(ReadSeg2FHdr(dir.file("none.sg2").c_str(), &h), -90);
  bytes[0] = 'M';
  EXPECT_EQ(readTrace(0), -94);
  EXPECT_EQ(cap.texts(10008), std::vector<std::string>{"Error: " + path + " is not a SEG-2 file"});
  bytes = {0x55, 0x3A, 1, 0};
  EXPECT_EQ(readTrace(0), -86);
  writeBytes(path, {0x55});
  EXPECT_EQ(IsSeg2File(path.c_str()), -94);
  EXPECT_EQ(cap.numbers(), (std::vector<int>{10001, 10008, 10022}));
}

TEST_F(Seg2Hostile, HeaderClaimsBeyondTheFile) {
  Bytes good = bytes;
  put32(bytes, 32, 0xFFFFFFF0u);  // strings "end" 4 GB in
  EXPECT_EQ(readTrace(0), -86);
  bytes = good;
  bytes.resize(34);  // pointer block cut short
  EXPECT_EQ(readTrace(0), -86);
  EXPECT_EQ(cap.numbers(), (std::vector<int>{10028, 10026}));
}

TEST_F(Seg2Hostile, TraceClaimsBeyondTheFile) {
  put32(bytes, p0 + 4, 0xFFFFFFFFu);  // data block size
  put32(bytes, p0 + 8, 0x80000000u);  // 2^31 samples
  EXPECT_EQ(readTrace(0), -86);
  EXPECT_EQ(cap.count(10039), 1);
  put32(bytes, 36, 1u << 30);  // trace 2 points 1 GB in
  EXPECT_EQ(readTrace(1), -86);
  EXPECT_EQ(cap.count(10031), 1);
  EXPECT_EQ(readTrace(2), -84);
  EXPECT_EQ(readTrace(-1), -84);
  EXPECT_EQ(cap.count(10030), 2);
}

TEST_F(Seg2Hostile, BadDescriptorBlocks) {
  bytes[p0] = 0x23;
  EXPECT_EQ(readTrace(0), -93);
  bytes[p0] = 0x22;
  bytes[p0 + 12] = 6;
  EXPECT_EQ(readTrace(0), -93);
  EXPECT_EQ(cap.texts(10033), std::vector<std::string>{"Error: " + path + " has an invalid sample data type in trace 1"});
  bytes[p0 + 12] = 2;
  put16(bytes, p0 + 32, 0x7000);  // first string's offset jumps out of the block
  EXPECT_EQ(readTrace(0), 1);
  EXPECT_EQ(cap.numbers(), (std::vector<int>{10032, 10033, 10037}));
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
