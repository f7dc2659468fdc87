// SEG-Y reader and writer on synthetic files: signatures, codes 1 to 4 in
// both byte orders, the trace count beyond 16 bits, the binary gain and
// broken or hostile files.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dv/file.h"
#include "scrivel_internal.h"
#include "scrivel/describe.h"
#include "scrivel/segy.h"
#include "synth.h"
#include "test_support.h"

using scrivel_test::MessageCapture;
using scrivel_test::readBytes;
using scrivel_test::TempDir;
using scrivel_test::writeBytes;

namespace {

SegyFHdr* newHeader(int code, int samples, bool be) {
  SegyFHdr* h = nullptr;
  CreateSegyFHdr(&h);
  std::memcpy(h->text, "C 1 test", 8);
  h->formatCode = (uint16_t)code;
  h->samples = (uint16_t)samples;
  h->sampleInterval = 250;
  h->jobId = 77;
  h->bigEndian = be;
  return h;
}

// A trace header whose gain exponent is stored in the given byte order.
SegyTraceHdr traceHeader(int gain, bool be) {
  SegyTraceHdr t{};
  auto* p = reinterpret_cast<uint8_t*>(&t) + 168;
  p[be ? 1 : 0] = (uint8_t)gain;
  return t;
}

// Writes `traces` traces of h's layout with values value(trace, sample).
template <typename F>
int writeFile(const std::string& path, SegyFHdr* h, int traces, F value, int gain = 0) {
  int rc = WriteSegyFHdr(path.c_str(), h);
  if (rc < 0) return rc;
  dv::File f;
  EXPECT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  SegyTraceHdr t = traceHeader(gain, h->bigEndian);
  std::vector<float> s(h->samples);
  for (int i = 0; i < traces; ++i) {
    for (size_t k = 0; k < s.size(); ++k) s[k] = value(i, (int)k);
    int r = WriteSegyTrace(path.c_str(), &f, h, &t, i, s.data());
    if (r < 0) return r;
    rc = std::max(rc, r);
  }
  return rc;
}

std::vector<std::vector<float>> readAll(const std::string& path, int* rc, SegyFHdr** keep = nullptr) {
  std::vector<std::vector<float>> out;
  SegyFHdr* h = nullptr;
  *rc = ReadSegyFHdr(path.c_str(), &h);
  if (*rc < 0) return out;
  dv::File f;
  EXPECT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  for (int64_t i = 0; i < scrivel::segyTraceCount(*h); ++i) {
    SegyTraceHdr* t = nullptr;
    float* s = nullptr;
    int r = ReadSegyTrace(path.c_str(), &f, h, &t, (int)i, &s, 0);
    EXPECT_GE(r, 0) << "trace " << i;
    if (r < 0) break;
    out.emplace_back(s, s + h->samples);
    free(s);
    free(t);
  }
  if (keep)
    *keep = h;
  else
    free(h);
  return out;
}

float wave(int t, int k) { return (float)std::round(2500.0 * std::cos(0.1 * k - t) - 3 * k); }

}  // namespace

// ---------------------------------------------------------------------------

TEST(SegySignature, AsciiAndEbcdicCardOneOnly) {
  TempDir dir;
  std::string p = dir.file("s.sgy");
  auto test = [&](std::vector<unsigned char> head) {
    head.resize(3604, 0x40);
    writeBytes(p, head);
    return IsSegyFile(p.c_str());
  };
  EXPECT_EQ(test({'C', ' ', '1', ' '}), 0);
  EXPECT_EQ(test({0xC3, 0x40, 0xF1, 0x00}), 0);
  EXPECT_EQ(test({0xC3, 0xF0, 0xF1, 0x40}), -92);  // EBCDIC "C01"
  EXPECT_EQ(test({'C', 0, '1', ' '}), -92);
  EXPECT_EQ(test({0, 0, 0, 0}), -92);
  writeBytes(p, {'C', ' ', '1'});
  EXPECT_EQ(IsSegyFile(p.c_str()), -92);
  EXPECT_EQ(IsSegyFile(dir.file("missing.sgy").c_str()), -90);
  MessageCapture cap;
  SegyFHdr* h = nullptr;
  EXPECT_EQ(ReadSegyFHdr(p.c_str(), &h), -92);
  ASSERT_EQ(cap.count(10009), 1);
  EXPECT_EQ(cap.texts(10009)[0], "Error: " + p + " is not a SEG-Y file");
  EXPECT_EQ(ReadSegyFHdr(dir.file("missing.sgy").c_str(), &h), -90);
  EXPECT_EQ(cap.count(10001), 1);
  int n = 0;
  EXPECT_EQ(ComputeSegyNumTraces(p.c_str(), nullptr, &n), -92);
  EXPECT_EQ(cap.count(10009), 2);
}

// ---------------------------------------------------------------------------

class SegyCodes : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(SegyCodes, BothByteOrdersReadWhatWasWritten) {
  auto [code, be] = GetParam();
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("c.sgy");
  SegyFHdr* h = newHeader(code, 40, be);
  ASSERT_EQ(writeFile(path, h, 5, wave), 0);
  free(h);
  auto b = readBytes(path);
  EXPECT_EQ(b[3224 + (be ? 1 : 0)], code) << "format code in the file's order";
  int rc;
  auto t = readAll(path, &rc, &h);
  ASSERT_EQ(rc, 0);
  EXPECT_EQ(h->bigEndian, be ? 1 : 0);
  EXPECT_EQ(h->jobId, 77);
  EXPECT_EQ(h->sampleInterval, 250);
  EXPECT_EQ(h->traces, 5);
  free(h);
  ASSERT_EQ(t.size(), 5u);
  for (int i = 0; i < 5; ++i)
    for (int k = 0; k < 40; ++k) EXPECT_EQ(t[i][k], wave(i, k)) << i << "," << k;
  EXPECT_TRUE(cap.all().empty()) << testing::PrintToString(cap.numbers());
}

INSTANTIATE_TEST_SUITE_P(AllCodesBothOrders, SegyCodes,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4), ::testing::Bool()));

TEST(SegyCodes, FixedGainHalvesLargeValuesIntoTheMantissa) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("g.sgy");
  SegyFHdr* h = newHeader(4, 4, false);
  std::vector<float> v = {100000.0f, -65536.0f, 3.0e9f, 0.4f};
  ASSERT_EQ(writeFile(path, h, 1, [&](int, int k) { return v[k]; }), 0);
  free(h);
  int rc;
  auto t = readAll(path, &rc);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_NEAR(t[0][0], 100000.0f, 2.0f);
  EXPECT_EQ(t[0][1], -65536.0f);
  EXPECT_NEAR(t[0][2], 3.0e9f, 3.0e9f / 32768);
  EXPECT_EQ(t[0][3], 0.0f);
}

TEST(SegyCodes, Code2ValueOf3e9IsWrittenAsTheMaximumWith10040) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("m.sgy");
  SegyFHdr* h = newHeader(2, 3, false);
  ASSERT_EQ(writeFile(path, h, 1, [](int, int k) { return k == 1 ? 3.0e9f : -3.0e9f; }), 1);
  free(h);
  ASSERT_EQ(cap.count(10040), 3);
  EXPECT_EQ(cap.texts(10040)[1], "Warning: Sample 2 in trace 1 caused a data overflow while writing file " +
                                     path + ", setting to maximum/minimum value");
  auto b = readBytes(path);
  EXPECT_EQ(scrivel::rdU32le(b.data() + 3600 + 240 + 4), 2147483647u);
  EXPECT_EQ(scrivel::rdU32le(b.data() + 3600 + 240), 0x80000000u);
}

TEST(SegyCodes, Code4WithNonZeroFirstByteWarns10045) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("z.sgy");
  SegyFHdr* h = newHeader(4, 2, false);
  ASSERT_EQ(writeFile(path, h, 1, [](int, int) { return 5.0f; }), 0);
  free(h);
  auto b = readBytes(path);
  b[3600 + 240 + 4 + 3] = 1;  // high byte of sample 2 (little-endian)
  writeBytes(path, b);
  ReadSegyFHdr(path.c_str(), &h);
  dv::File f;
  ASSERT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  SegyTraceHdr* t = nullptr;
  float* s = nullptr;
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, h, &t, 0, &s, 0), 1);
  EXPECT_EQ(s[1], 5.0f) << "decoded all the same";
  ASSERT_EQ(cap.count(10045), 1);
  EXPECT_NE(cap.texts(10045)[0].find("Sample 2 in trace 1 has possible bad data"), std::string::npos);
  free(s);
  free(t);
  cap.clear();
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, h, &t, 0, &s, 1), 1);
  EXPECT_TRUE(cap.all().empty());
  free(s);
  free(t);
  free(h);
}

TEST(SegyCodes, CodesAboveFourAndZeroAreRefused) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("five.sgy");
  SegyFHdr* h = newHeader(1, 4, false);
  ASSERT_EQ(writeFile(path, h, 2, wave), 0);
  for (int code : {5, 0}) {
    auto b = readBytes(path);
    b[3224] = (unsigned char)code;
    writeBytes(path, b);
    SegyFHdr* r = nullptr;
    ASSERT_EQ(ReadSegyFHdr(path.c_str(), &r), 0);
    dv::File f;
    ASSERT_EQ(OpenFileForRead(path.c_str(), &f), 0);
    SegyTraceHdr* t = nullptr;
    float* s = nullptr;
    cap.clear();
    EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, r, &t, 0, &s, 0), -91) << code;
    ASSERT_EQ(cap.count(10011), 1);
    EXPECT_EQ(cap.texts(10011)[0], "Error: " + path + " has an invalid sample data type");
    EXPECT_EQ(WriteSegyTrace(path.c_str(), &f, r, t, 0, s), -91);
    free(r);
  }
  free(h);
}

// ---------------------------------------------------------------------------
// Trace counts.

TEST(SegyCount, PartialLastTraceIsNotCounted) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("p.sgy");
  SegyFHdr* h = newHeader(3, 10, false);
  ASSERT_EQ(writeFile(path, h, 4, wave), 0);
  auto b = readBytes(path);
  b.resize(b.size() - 1);
  writeBytes(path, b);
  int n = -1;
  EXPECT_EQ(ComputeSegyNumTraces(path.c_str(), h, &n), 0);
  EXPECT_EQ(n, 3);
  free(h);
  ASSERT_EQ(ReadSegyFHdr(path.c_str(), &h), 0);
  EXPECT_EQ(h->traces, 3);
  EXPECT_EQ(h->traceCount, 3);
  free(h);
}

TEST(SegyCount, SeventyThousandTracesAllRead) {
  MessageCapture cap;
  TempDir dir;
  synth::LineSpec spec;
  spec.traces = 70000;
  spec.samples = 8;
  spec.bits = 3;
  std::string path = dir.file("long.sgy");
  ASSERT_EQ(synth::writeSegy(path, spec), 0);
  auto b = readBytes(path);
  ASSERT_EQ(b.size(), 3600u + 70000u * (240 + 16));
  EXPECT_EQ(scrivel::rdU16le(b.data() + 3212), 65535) << "stored field clipped, not wrapped";
  b.clear();
  SegyFHdr* h = nullptr;
  ASSERT_EQ(ReadSegyFHdr(path.c_str(), &h), 0);
  EXPECT_EQ(h->traces, 65535);
  EXPECT_EQ(h->traceCount, 70000);
  EXPECT_EQ(scrivel::segyTraceCount(*h), 70000);
  int n = 0;
  ASSERT_EQ(ComputeSegyNumTraces(path.c_str(), h, &n), 0);
  EXPECT_EQ(n, 70000);
  dv::File f;
  ASSERT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  int bad = 0;
  for (int i = 0; i < 70000; ++i) {
    SegyTraceHdr* t = nullptr;
    float* s = nullptr;
    if (ReadSegyTrace(path.c_str(), &f, h, &t, i, &s, 1) != 0) {
      ++bad;
      continue;
    }
    if (i % 9973 == 0 || i == 69999) {
      for (int k = 0; k < 8; ++k)
        EXPECT_EQ(s[k], (float)std::floor((double)synth::amplitude(spec, i, k) + 0.5)) << i;
    }
    free(s);
    free(t);
  }
  EXPECT_EQ(bad, 0);
  scrivel::Fields fields;
  scrivel::describeSegy(h, fields);
  ASSERT_EQ(fields.size(), 28u);
  EXPECT_EQ(fields[3], (std::pair<std::string, std::string>("Number of Traces", "65535")));
  free(h);
}

// ---------------------------------------------------------------------------
// Binary gain and the trace header's own sample count.

TEST(SegyTraceHeader, GainExponentIsTakenOffAndPutBackInBothOrders) {
  MessageCapture cap;
  TempDir dir;
  for (bool be : {false, true}) {
    std::string path = dir.file(be ? "gbe.sgy" : "gle.sgy");
    SegyFHdr* h = newHeader(3, 6, be);
    ASSERT_EQ(writeFile(path, h, 2, wave, 2), 0);
    free(h);
    auto b = readBytes(path);
    // Stored integers carry the gain: value × 4.
    uint16_t raw = be ? scrivel::rdU16be(b.data() + 3840 + 2) : scrivel::rdU16le(b.data() + 3840 + 2);
    EXPECT_EQ((int16_t)raw, (int16_t)(wave(0, 1) * 4));
    int rc;
    auto t = readAll(path, &rc);
    ASSERT_EQ(t.size(), 2u);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(t[1][k], wave(1, k)) << (be ? "big" : "little");
  }
}

TEST(SegyTraceHeader, WriterKeepsTheFileLayoutWhateverTheTraceHeaderSays) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("l.sgy");
  SegyFHdr* h = newHeader(3, 75, false);
  ASSERT_EQ(WriteSegyFHdr(path.c_str(), h), 0);
  dv::File f;
  ASSERT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  SegyTraceHdr t{};
  t.samples = 462;  // as in a real file whose trace headers disagree
  std::vector<float> s(75, 7.0f);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(WriteSegyTrace(path.c_str(), &f, h, &t, i, s.data()), 0);
  f.close();
  EXPECT_EQ(readBytes(path).size(), 3600u + 3 * (240 + 150));
  int rc;
  auto r = readAll(path, &rc);
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[2], s);
  free(h);
}

// ---------------------------------------------------------------------------
// Broken files.

class SegyBroken : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.file("b.sgy");
    SegyFHdr* w = newHeader(2, 16, false);
    ASSERT_EQ(writeFile(path, w, 2, wave), 0);
    free(w);
    ASSERT_EQ(ReadSegyFHdr(path.c_str(), &h), 0);
    ASSERT_EQ(OpenFileForRead(path.c_str(), &f), 0);
    cap.clear();
  }
  void TearDown() override { free(h); }
  MessageCapture cap;
  TempDir dir;
  std::string path;
  SegyFHdr* h = nullptr;
  dv::File f;
};

TEST_F(SegyBroken, ShortHeader) {
  auto b = readBytes(path);
  b.resize(3603);
  writeBytes(path, b);
  SegyFHdr* r = nullptr;
  EXPECT_EQ(ReadSegyFHdr(path.c_str(), &r), -86);
  EXPECT_EQ(r, nullptr);
  EXPECT_EQ(cap.count(10042), 1);
}

TEST_F(SegyBroken, TraceHeaderPastTheEndClosesTheFile) {
  SegyTraceHdr* t = nullptr;
  float* s = nullptr;
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, h, &t, 2, &s, 0), -86);
  EXPECT_EQ(t, nullptr);
  ASSERT_EQ(cap.count(10044), 1);
  EXPECT_EQ(cap.texts(10044)[0], "Error: Could not read SEG-Y trace header number 3 in file " + path);
  EXPECT_FALSE(f.isOpen());
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, h, &t, 0, &s, 0), -84);
  EXPECT_EQ(cap.count(10043), 1);
}

TEST_F(SegyBroken, ShortSamplesKeepTheTraceHeader) {
  h->samples = 17;  // one more than the file holds for the last trace
  SegyTraceHdr* t = nullptr;
  float* s = nullptr;
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, h, &t, 1, &s, 0), -86);
  EXPECT_EQ(cap.count(10021), 1);
  ASSERT_NE(t, nullptr) << "the caller owns the trace header after a sample read failure";
  free(t);
}

TEST_F(SegyBroken, NegativeIndexAndQuiet) {
  SegyTraceHdr* t = nullptr;
  float* s = nullptr;
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, h, &t, -1, &s, 1), -84);
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, h, &t, 1000, &s, 1), -86);
  EXPECT_TRUE(cap.all().empty());
}

TEST(SegyDescribe, TwentyEightRowsWithTheViewsLabels) {
  SegyFHdr* h = newHeader(3, 512, false);
  h->lineNumber = -4;
  h->vibratoryPolarity = 3;
  scrivel::Fields f;
  scrivel::describeSegy(h, f);
  ASSERT_EQ(f.size(), 28u);
  EXPECT_EQ(f[0].first, "Job ID Number");
  EXPECT_EQ(f[1].second, "-4");
  EXPECT_EQ(f[7].first, "Number of Samples");
  EXPECT_EQ(f[7].second, "512");
  EXPECT_EQ(f[9].second, "3");
  EXPECT_EQ(f[26].first, "Vibratory Polarity");
  EXPECT_EQ(f[26].second, "3");
  EXPECT_EQ(f[27].first, "Reserved");
  free(h);
}
