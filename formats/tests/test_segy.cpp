// SEG-Y reader and writer on synthetic files: signatures (free text headers
// with a sound binary header), every code in both byte orders, the IBM or
// IEEE reading of code 1, trace counts beyond 16 bits, the binary gain, and
// broken files.
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dv/file.h"
#include "scrivel/describe.h"
#include "scrivel/segy.h"
#include "scrivel_internal.h"
#include "../segy/segy_common.h"
#include "synth.h"
#include "test_support.h"

using scrivel_test::MessageCapture;
using scrivel_test::readBytes;
using scrivel_test::TempDir;
using scrivel_test::writeBytes;
using Traces = std::vector<std::vector<float>>;

namespace {

struct Header {
  SegyFHdr* h = nullptr;
  Header() = default;
  Header(int code, int samples, bool be) {
    CreateSegyFHdr(&h);
    std::memcpy(h->text, "C 1 test", 8);
    h->formatCode = (uint16_t)code;
    h->samples = (uint16_t)samples;
    h->sampleInterval = 250;
    h->jobId = 77;
    h->bigEndian = be;
  }
  ~Header() { free(h); }
};

// Writes `traces` traces of value(trace, sample); the trace headers carry
// the gain exponent in the file's byte order.
template <typename F>
int writeFile(const std::string& path, SegyFHdr* h, int traces, F value, int gain = 0) {
  int rc = WriteSegyFHdr(path.c_str(), h);
  dv::File f;
  EXPECT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  SegyTraceHdr t{};
  reinterpret_cast<uint8_t*>(&t)[168 + (h->bigEndian ? 1 : 0)] = (uint8_t)gain;
  std::vector<float> s(h->samples);
  for (int i = 0; i < traces && rc >= 0; ++i) {
    for (size_t k = 0; k < s.size(); ++k) s[k] = value(i, (int)k);
    int r = WriteSegyTrace(path.c_str(), &f, h, &t, i, s.data());
    rc = r < 0 ? r : std::max(rc, r);
  }
  return rc;
}

Traces readAll(const std::string& path, int* rc) {
  Traces out;
  SegyFHdr* h = nullptr;
  if ((*rc = ReadSegyFHdr(path.c_str(), &h)) < 0) return out;
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
  free(h);
  return out;
}

float wave(int t, int k) { return (float)std::round(2500.0 * std::cos(0.1 * k - t) - 3 * k); }

}  // namespace

TEST(SegySignature, AsciiAndEbcdicCardOneOnly) {
  MessageCapture cap;
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
  SegyFHdr* h = nullptr;
  EXPECT_EQ(ReadSegyFHdr(p.c_str(), &h), -92);
  EXPECT_EQ(cap.texts(10009), std::vector<std::string>{"Error: " + p + " is not a SEG-Y file"});
  int n = 0;
  EXPECT_EQ(ComputeSegyNumTraces(p.c_str(), nullptr, &n), -92);
  EXPECT_EQ(ReadSegyFHdr(dir.file("missing.sgy").c_str(), &h), -90);
  writeBytes(p, {'C', ' ', '1'});
  EXPECT_EQ(IsSegyFile(p.c_str()), -92);
  EXPECT_EQ(cap.numbers(), (std::vector<int>{10009, 10009, 10001}));
}

TEST(SegySignature, FreeTextHeaderWithASoundBinaryHeader) {
  TempDir dir;
  std::string p = dir.file("s.sgy");
  Header w(3, 10, true);
  ASSERT_EQ(writeFile(p, w.h, 3, wave), 0);
  const auto good = readBytes(p);
  auto test = [&](const std::vector<unsigned char>& card, auto change) {
    auto b = good;
    std::copy(card.begin(), card.end(), b.begin());
    change(b);
    writeBytes(p, b);
    return IsSegyFile(p.c_str());
  };
  auto none = [](std::vector<unsigned char>&) {};
  EXPECT_EQ(test({0xC3, 0xF0, 0xF1, 0x40}, none), 0) << "EBCDIC C01";
  EXPECT_EQ(test({0, 0, 0, 0}, none), 0) << "NULs";
  EXPECT_EQ(test({' ', ' ', ' ', ' '}, none), 0) << "blanks";
  EXPECT_EQ(test({0, 0, 0, 0}, [](auto& b) { b.pop_back(); }), -92) << "traces do not fill the file";
  EXPECT_EQ(test({0, 0, 0, 0}, [](auto& b) { b[3216] = b[3217] = 0; }), -92) << "no sample interval";
  EXPECT_EQ(test({0, 0, 0, 0}, [](auto& b) { b[3220] = b[3221] = 0; }), -92) << "no samples";
  EXPECT_EQ(test({0, 0, 0, 0}, [](auto& b) { b[3225] = 6; }), -92) << "unknown code";
  EXPECT_EQ(test({0, 0, 0, 0}, [](auto& b) { b.resize(3600); }), -92) << "no trace";
}

// The 4-byte floats of code 1: IBM where the words say so, else IEEE.
TEST(SegyFloatFormat, DecisionTable) {
  EXPECT_EQ(scrivel::segy::ibmToFloat(0xC276A000u), -118.625f);
  EXPECT_EQ(scrivel::segy::floatToIbm(-118.625f), 0xC276A000u);
  EXPECT_FLOAT_EQ(scrivel::segy::ibmToFloat(0x41133333u), 1.2f);
  EXPECT_EQ(scrivel::segy::ibmToFloat(0x7FFFFFFFu), FLT_MAX) << "beyond the float range";
  struct Row {
    const char* what;
    int written;  // how the writer stores the floats
    bool be;
    int traces, samples;
    float (*value)(int, int);
    int read;  // the reading the header reader chooses
  };
  const Row rows[] = {
      {"IBM data", SEGY_FLOAT_IBM, false, 5, 40, wave, SEGY_FLOAT_IBM},
      {"IBM data, big-endian", SEGY_FLOAT_IBM, true, 5, 40, wave, SEGY_FLOAT_IBM},
      {"IEEE data written by this system", SEGY_FLOAT_IEEE, false, 5, 40, wave, SEGY_FLOAT_IEEE},
      {"all-zero traces", SEGY_FLOAT_IBM, false, 5, 40, [](int, int) { return 0.0f; }, SEGY_FLOAT_IEEE},
      {"tiny IBM values", SEGY_FLOAT_IBM, false, 5, 40, [](int t, int k) { return 1e-30f * wave(t, k); },
       SEGY_FLOAT_IBM},
      {"tiny IEEE values", SEGY_FLOAT_IEEE, false, 5, 40, [](int t, int k) { return 1e-30f * wave(t, k); },
       SEGY_FLOAT_IEEE},
      {"huge IBM values", SEGY_FLOAT_IBM, false, 5, 40, [](int t, int k) { return 1e30f * wave(t, k); },
       SEGY_FLOAT_IBM},
      {"huge IEEE values", SEGY_FLOAT_IEEE, false, 5, 40, [](int t, int k) { return 1e30f * wave(t, k); },
       SEGY_FLOAT_IEEE},
      {"too few IBM words to tell", SEGY_FLOAT_IBM, false, 1, 40, wave, SEGY_FLOAT_IEEE},
      {"one IBM value over and over", SEGY_FLOAT_IBM, false, 5, 40, [](int, int) { return 1.2f; },
       SEGY_FLOAT_IEEE},
  };
  MessageCapture cap;
  TempDir dir;
  for (const Row& row : rows) {
    std::string path = dir.file("f.sgy");
    Header w(1, row.samples, row.be);
    w.h->floatFormat = row.written;
    ASSERT_EQ(writeFile(path, w.h, row.traces, row.value), 0) << row.what;
    Header r;
    ASSERT_EQ(ReadSegyFHdr(path.c_str(), &r.h), 0) << row.what;
    EXPECT_EQ(r.h->floatFormat, row.read) << row.what;
    if (row.read != row.written) continue;
    int rc;
    Traces t = readAll(path, &rc);
    ASSERT_EQ((int)t.size(), row.traces) << row.what;
    for (int i = 0; i < row.traces; ++i)
      for (int k = 0; k < row.samples; ++k) {
        float want = row.value(i, k);
        EXPECT_NEAR(t[i][k], want, 1e-6f * std::fabs(want)) << row.what << " " << i << "," << k;
      }
  }
  EXPECT_TRUE(cap.all().empty()) << testing::PrintToString(cap.numbers());
}

class SegyCodes : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(SegyCodes, BothByteOrdersReadWhatWasWritten) {
  auto [code, be] = GetParam();
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("c.sgy");
  Header w(code, 40, be);
  // Code 8 holds -128..127.
  auto value = code == SEGY_INT8 ? [](int t, int k) { return std::round(wave(t, k) / 25); } : wave;
  ASSERT_EQ(writeFile(path, w.h, 5, value), 0);
  EXPECT_EQ(readBytes(path)[3224 + (be ? 1 : 0)], code) << "format code in the file's order";
  Header r;
  ASSERT_EQ(ReadSegyFHdr(path.c_str(), &r.h), 0);
  EXPECT_EQ(r.h->bigEndian, be ? 1 : 0);
  EXPECT_EQ(r.h->jobId, 77);
  EXPECT_EQ(r.h->traces, 5);
  int rc;
  Traces t = readAll(path, &rc);
  ASSERT_EQ(t.size(), 5u);
  for (int i = 0; i < 5; ++i)
    for (int k = 0; k < 40; ++k) EXPECT_EQ(t[i][k], value(i, k)) << i << "," << k;
  EXPECT_TRUE(cap.all().empty()) << testing::PrintToString(cap.numbers());
}

INSTANTIATE_TEST_SUITE_P(AllCodesBothOrders, SegyCodes,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4, 5, 8), ::testing::Bool()));

TEST(SegyWrite, ClippingAndTheCode4Exponent) {
  MessageCapture cap;
  TempDir dir;
  std::string p2 = dir.file("i32.sgy"), p4 = dir.file("fixed.sgy");
  Header i32(2, 3, false);
  ASSERT_EQ(writeFile(p2, i32.h, 1, [](int, int k) { return k == 1 ? 3.0e9f : k ? -3.0e9f : -900.0f; }), 1);
  EXPECT_EQ(cap.texts(10040)[0], "Warning: Sample 2 in trace 1 caused a data overflow while writing file " + p2 +
                                     ", setting to maximum/minimum value");
  auto b = readBytes(p2);
  EXPECT_EQ((int32_t)scrivel::rdU32le(b.data() + 3840), -900) << "negative integers round to themselves";
  EXPECT_EQ(scrivel::rdU32le(b.data() + 3844), 2147483647u);
  EXPECT_EQ(scrivel::rdU32le(b.data() + 3848), 0x80000000u);
  // Code 4: values past the 16-bit mantissa get a positive exponent.
  Header fixed(4, 4, false);
  std::vector<float> v = {100000.0f, -65536.0f, 3.0e9f, 0.4f};
  ASSERT_EQ(writeFile(p4, fixed.h, 1, [&](int, int k) { return v[k]; }), 0);
  int rc;
  Traces t = readAll(p4, &rc);
  EXPECT_EQ(t.at(0)[0], 100000.0f);
  EXPECT_EQ(t[0][1], -65536.0f);
  EXPECT_NEAR(t[0][2], 3.0e9f, 3.0e9f / 32768);
  EXPECT_EQ(t[0][3], 0.0f);
}

TEST(SegyRead, Code4WithNonZeroFirstByteWarnsAndCodes0And6AreRefused) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("z.sgy");
  Header w(4, 2, false);
  ASSERT_EQ(writeFile(path, w.h, 1, [](int, int) { return 5.0f; }), 0);
  auto b = readBytes(path);
  b[3840 + 4 + 3] = 1;  // high byte of sample 2 (little-endian)
  writeBytes(path, b);
  Header r;
  ReadSegyFHdr(path.c_str(), &r.h);
  dv::File f;
  ASSERT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  SegyTraceHdr* t = nullptr;
  float* s = nullptr;
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, r.h, &t, 0, &s, 0), 1);
  EXPECT_EQ(s[1], 5.0f) << "decoded all the same";
  EXPECT_NE(cap.texts(10045).at(0).find("Sample 2 in trace 1 has possible bad data"), std::string::npos);
  free(s);
  for (int code : {6, 0}) {
    r.h->formatCode = (uint16_t)code;
    cap.clear();
    EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, r.h, &t, 0, &s, 0), -91) << code;
    EXPECT_EQ(WriteSegyTrace(path.c_str(), &f, r.h, t, 0, s), -91);
    EXPECT_EQ(cap.texts(10011), std::vector<std::string>(2, "Error: " + path + " has an invalid sample data type"));
  }
  free(t);
}

// ---------------------------------------------------------------------------

TEST(SegyCount, PartialLastTraceIsNotCounted) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("p.sgy");
  Header h(3, 10, false);
  ASSERT_EQ(writeFile(path, h.h, 4, wave), 0);
  auto b = readBytes(path);
  b.pop_back();
  writeBytes(path, b);
  int n = -1;
  EXPECT_EQ(ComputeSegyNumTraces(path.c_str(), h.h, &n), 0);
  EXPECT_EQ(n, 3);
}

TEST(SegyCount, MoreTracesThanTheSixteenBitFieldHoldsAreAllRead) {
  MessageCapture cap;
  TempDir dir;
  synth::LineRecipe recipe;
  recipe.traces = 70000;
  recipe.samples = 8;
  recipe.bits = 3;
  std::string path = dir.file("long.sgy");
  ASSERT_EQ(synth::writeSegy(path, recipe), 0);
  auto b = readBytes(path);
  ASSERT_EQ(b.size(), 3600u + 70000u * (240 + 16));
  EXPECT_EQ(scrivel::rdU16le(b.data() + 3212), 65535) << "stored field clipped, not wrapped";
  Header r;
  ASSERT_EQ(ReadSegyFHdr(path.c_str(), &r.h), 0);
  EXPECT_EQ(r.h->traces, 65535);
  EXPECT_EQ(r.h->traceCount, 70000);
  int n = 0;
  ASSERT_EQ(ComputeSegyNumTraces(path.c_str(), r.h, &n), 0);
  EXPECT_EQ(n, 70000);
  int rc;
  Traces t = readAll(path, &rc);
  ASSERT_EQ(t.size(), 70000u);
  for (int i : {0, 65535, 69999})
    for (int k = 0; k < 8; ++k) EXPECT_EQ(t[i][k], std::floor(synth::amplitude(recipe, i, k) + 0.5)) << i;
  scrivel::Fields fields;
  scrivel::describeSegy(r.h, fields);
  ASSERT_EQ(fields.size(), 28u);
  EXPECT_EQ(fields[3], (std::pair<std::string, std::string>("Number of Traces", "65535")));
  EXPECT_EQ(fields[27].first, "Reserved");
}

// ---------------------------------------------------------------------------
// Binary gain and the trace header's own sample count.

TEST(SegyTraceHeader, GainExponentIsTakenOffAndPutBackInBothOrders) {
  MessageCapture cap;
  TempDir dir;
  for (bool be : {false, true}) {
    std::string path = dir.file(be ? "gbe.sgy" : "gle.sgy");
    Header h(3, 6, be);
    ASSERT_EQ(writeFile(path, h.h, 2, wave, 2), 0);
    auto b = readBytes(path);
    uint16_t raw = be ? scrivel::rdU16be(b.data() + 3842) : scrivel::rdU16le(b.data() + 3842);
    EXPECT_EQ((int16_t)raw, (int16_t)(wave(0, 1) * 4)) << "stored integers carry the gain";
    int rc;
    Traces t = readAll(path, &rc);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(t.at(1)[k], wave(1, k)) << (be ? "big" : "little");
  }
}

TEST(SegyTraceHeader, WriterKeepsTheFileLayoutWhateverTheTraceHeaderSays) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("l.sgy");
  Header h(3, 75, false);
  ASSERT_EQ(WriteSegyFHdr(path.c_str(), h.h), 0);
  dv::File f;
  ASSERT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  SegyTraceHdr t{};
  t.samples = 462;  // as in a real file whose trace headers disagree
  std::vector<float> s(75, 7.0f);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(WriteSegyTrace(path.c_str(), &f, h.h, &t, i, s.data()), 0);
  f.close();
  EXPECT_EQ(readBytes(path).size(), 3600u + 3 * (240 + 150));
  int rc;
  EXPECT_EQ(readAll(path, &rc).at(2), s);
}

// ---------------------------------------------------------------------------

TEST(SegyBroken, ShortHeaderTraceHeaderAndSamples) {
  MessageCapture cap;
  TempDir dir;
  std::string path = dir.file("b.sgy");
  Header w(2, 16, false);
  ASSERT_EQ(writeFile(path, w.h, 2, wave), 0);
  Header r;
  ASSERT_EQ(ReadSegyFHdr(path.c_str(), &r.h), 0);
  dv::File f;
  ASSERT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  SegyTraceHdr* t = nullptr;
  float* s = nullptr;
  // Quiet: nothing reported.
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, r.h, &t, -1, &s, 1), -84);
  EXPECT_TRUE(cap.all().empty());
  // One more sample than the last trace holds: the trace header stays ours.
  r.h->samples = 17;
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, r.h, &t, 1, &s, 0), -86);
  ASSERT_NE(t, nullptr);
  free(t);
  r.h->samples = 16;
  // Past the end: the trace header read fails and closes the file.
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, r.h, &t, 2, &s, 0), -86);
  EXPECT_EQ(t, nullptr);
  EXPECT_EQ(cap.texts(10044), std::vector<std::string>{"Error: Could not read SEG-Y trace header number 3 in file " + path});
  EXPECT_FALSE(f.isOpen());
  EXPECT_EQ(ReadSegyTrace(path.c_str(), &f, r.h, &t, 0, &s, 0), -84);
  auto b = readBytes(path);
  b.resize(3603);
  writeBytes(path, b);
  SegyFHdr* none = nullptr;
  EXPECT_EQ(ReadSegyFHdr(path.c_str(), &none), -86);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(cap.numbers(), (std::vector<int>{10021, 10044, 10043, 10042}));
}
