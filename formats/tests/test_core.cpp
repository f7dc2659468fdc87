// File helpers, profile sample files, the shared clipping rule and the
// locale-independent number conversions of the text headers.
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "codec.h"
#include "convert.h"
#include "dv/file.h"
#include "scrivel/ramac.h"
#include "test_support.h"

using scrivel_test::MessageCapture;
using scrivel_test::TempDir;

TEST(FileHelpers, OpenFailuresReportTheirMessageAndCode) {
  MessageCapture msgs;
  TempDir dir;
  dv::File f;
  const std::string missing = dir.file("missing.dat");
  EXPECT_EQ(OpenFileForRead(missing.c_str(), &f), -90);
  EXPECT_EQ(OpenFileForWrite(missing.c_str(), &f), -89);
  EXPECT_EQ(CreateFileForWrite(dir.file("no/such/folder.dat").c_str(), &f), -88);
  ASSERT_EQ(msgs.numbers(), (std::vector<int>{10001, 10002, 10004}));
  EXPECT_EQ(msgs.all()[0].text, "Error: Could not open " + missing + " for reading");
  EXPECT_EQ(msgs.all()[1].text, "Error: Could not open " + missing + " for writing");
  EXPECT_EQ(msgs.all()[2].text, "Error: Could not create " + dir.file("no/such/folder.dat"));
}

TEST(FileHelpers, OpenForWriteAppendsAtTheOldEnd) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("a.dat");
  scrivel_test::writeText(path, "abc");
  dv::File f;
  ASSERT_EQ(OpenFileForWrite(path.c_str(), &f), 0);
  EXPECT_EQ(f.position(), 3);
  f.write("de", 2);
  f.close();
  EXPECT_EQ(scrivel_test::readBytes(path), (std::vector<unsigned char>{'a', 'b', 'c', 'd', 'e'}));
  ASSERT_EQ(CreateFileForWrite(path.c_str(), &f), 0);  // truncates
  f.close();
  EXPECT_EQ(dv::fileSize(path), 0);
  EXPECT_TRUE(msgs.all().empty());
}

TEST(ProfileTrace, TracesGoWhereTheirIndexSaysAndGapsReadAsZero) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("T01_line.QUV");
  const int n = 6;
  float in[n] = {1.5f, -2.25f, 0.0f, 1e30f, -1e-30f, 32768.5f};
  dv::File f;
  ASSERT_EQ(CreateFileForWrite(path.c_str(), &f), 0);
  ASSERT_EQ(WriteProfileTrace(path.c_str(), &f, n, 10, in), 0);
  ASSERT_EQ(WriteProfileTrace(path.c_str(), &f, n, 2, in), 0);
  f.close();
  EXPECT_EQ(dv::fileSize(path), 11 * 4 * n);
  ASSERT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  for (int index : {2, 10}) {
    float* out = nullptr;
    ASSERT_EQ(ReadProfileTrace(path.c_str(), &f, n, index, &out, 0), 0);
    for (int i = 0; i < n; ++i) EXPECT_EQ(out[i], in[i]);
    std::free(out);
  }
  float* gap = nullptr;
  ASSERT_EQ(ReadProfileTrace(path.c_str(), &f, n, 5, &gap, 0), 0);
  for (int i = 0; i < n; ++i) EXPECT_EQ(gap[i], 0.0f);
  std::free(gap);
  // Byte order on disk is little-endian whatever the host.
  auto bytes = scrivel_test::readBytes(path);
  EXPECT_EQ(scrivel::rdU32le(&bytes[4 * n * 2]), scrivel::floatToBits(1.5f));
  EXPECT_TRUE(msgs.all().empty());
}

TEST(ProfileTrace, ReadPastTheEndFailsWithOneBasedTraceNumberUnlessQuiet) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("short.QUV");
  scrivel_test::writeBytes(path, std::vector<unsigned char>(4 * 8 * 3, 0));
  dv::File f;
  ASSERT_EQ(OpenFileForRead(path.c_str(), &f), 0);
  float* out = reinterpret_cast<float*>(0x1);
  EXPECT_EQ(ReadProfileTrace(path.c_str(), &f, 8, 12, &out, 0), -86);
  EXPECT_EQ(out, reinterpret_cast<float*>(0x1)) << "a failed read hands out no array";
  ASSERT_EQ(msgs.texts(10021), (std::vector<std::string>{"Error: Could not read trace 13 data in file " + path}));
  msgs.clear();
  EXPECT_EQ(ReadProfileTrace(path.c_str(), &f, 8, 12, &out, 1), -86);
  EXPECT_EQ(ReadProfileTrace(path.c_str(), &f, 8, -1, &out, 1), -84);
  // A huge caller count on a tiny file fails before sizing any array.
  EXPECT_EQ(ReadProfileTrace(path.c_str(), &f, std::numeric_limits<int>::max(), 0, &out, 1), -86);
  EXPECT_TRUE(msgs.all().empty());
}

TEST(Clipping, EachClippedSampleIsReportedOneBasedAndTheWriterReturnsOne) {
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("clip.rd3");
  RamacFHdr h;
  h.samples = 6;
  float in[6] = {40000.0f, -40000.0f, 32767.7f, -32768.9f, 12.5f, 1e9f};
  dv::File f;
  ASSERT_EQ(CreateFileForWrite(path.c_str(), &f), 0);
  EXPECT_EQ(WriteRamacTrace(path.c_str(), &f, &h, 1, in), 1);
  f.close();
  ASSERT_EQ(msgs.count(10040), 3);
  EXPECT_EQ(msgs.texts(10040)[0], "Warning: Sample 1 in trace 2 caused a data overflow while writing file " +
                                      path + ", setting to maximum/minimum value");
  EXPECT_NE(msgs.texts(10040)[2].find("Sample 6 in trace 2"), std::string::npos);
  auto b = scrivel_test::readBytes(path);
  ASSERT_EQ(b.size(), 24u);
  auto at = [&](int i) { return (int16_t)scrivel::rdU16le(&b[12 + 2 * i]); };
  EXPECT_EQ(at(0), 32767);
  EXPECT_EQ(at(1), -32768) << "a clipped minimum is stored as the minimum";
  EXPECT_EQ(at(2), 32767) << "a value just below the top must not round past it";
  EXPECT_EQ(at(3), -32768) << "-32768.9 truncates to the minimum itself: not clipped";
  EXPECT_EQ(at(4), 13) << "halves round up";
  EXPECT_EQ(at(5), 32767);
}

TEST(Clipping, SignedIntegersSurviveARewriteUnchanged) {
  // Rounding to nearest: a negative integer read back and written again keeps
  // its value, and negative fractions round like positive ones.
  MessageCapture msgs;
  TempDir dir;
  const std::string path = dir.file("round.rd3");
  RamacFHdr h;
  h.samples = 6;
  float in[6] = {-279.0f, -1.0f, -79.4f, -79.6f, -0.5f, 279.0f};
  dv::File f;
  ASSERT_EQ(CreateFileForWrite(path.c_str(), &f), 0);
  EXPECT_EQ(WriteRamacTrace(path.c_str(), &f, &h, 0, in), 0);
  f.close();
  auto b = scrivel_test::readBytes(path);
  ASSERT_EQ(b.size(), 12u);
  auto at = [&](int i) { return (int16_t)scrivel::rdU16le(&b[2 * i]); };
  EXPECT_EQ(at(0), -279);
  EXPECT_EQ(at(1), -1);
  EXPECT_EQ(at(2), -79);
  EXPECT_EQ(at(3), -80);
  EXPECT_EQ(at(4), 0);
  EXPECT_EQ(at(5), 279);
  EXPECT_TRUE(msgs.all().empty());
}

TEST(Clipping, WholeTraceConversionStoresWhatTheSampleRuleStores) {
  // Traces inside the range take vectorised single- or double-precision
  // loops: every value, halves and the floats just beside them included,
  // is stored as clipSample stores it.
  std::vector<float> in;
  for (float v = -32768.5f; v <= 32767.5f; v += 97.25f)
    for (float d : {-0.5f, 0.0f, 0.5f}) {
      in.push_back(v + d);
      in.push_back(std::nextafter(v + d, -1e9f));
      in.push_back(std::nextafter(v + d, 1e9f));
    }
  in.push_back(-32768.9f);
  in.push_back(32767.9f);
  struct Range {
    long lo, hi, zero;
  };
  for (const Range r : {Range{-32768, 32767, 0}, Range{-32768, 32767, 32768}, Range{-128, 127, 128},
                        Range{-2147483648L, 2147483647L, 0}}) {
    std::vector<float> v;
    for (float x : in)
      if (x > double(r.lo) - 1.0 && x < double(r.hi) + 1.0) v.push_back(r.hi == 127 ? x / 256 : x);
    std::vector<long> got(v.size());
    int unused = 0;
    EXPECT_EQ(scrivel::convertSamples(v.data(), int(v.size()), r.lo, r.hi, r.zero, 0, "",
                                      [&](int i, long s) { got[size_t(i)] = s; }),
              0);
    for (size_t i = 0; i < v.size(); ++i)
      ASSERT_EQ(got[i], scrivel::clipSample(v[i], r.lo, r.hi, r.zero, 0, 0, "", &unused))
          << v[i] << " with zero level " << r.zero;
  }
}

TEST(TextNumbers, ConversionsStopAtTheFirstUnusableCharacter) {
  using scrivel::parseFloat;
  using scrivel::parseInt;
  EXPECT_EQ(parseInt(" 1200.000 "), 1200);
  EXPECT_EQ(parseInt("64.889999"), 64);
  EXPECT_EQ(parseInt("-12abc"), -12);
  EXPECT_EQ(parseInt("abc"), 0);
  EXPECT_EQ(parseInt("99999999999"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(parseInt("-99999999999"), std::numeric_limits<int32_t>::min());
  EXPECT_FLOAT_EQ(parseFloat(" 12.39V"), 12.39f);
  EXPECT_FLOAT_EQ(parseFloat("-.5"), -0.5f);
  EXPECT_FLOAT_EQ(parseFloat("2.5e2x"), 250.0f);
  EXPECT_EQ(parseFloat("--1"), 0.0f);
  EXPECT_EQ(parseFloat(""), 0.0f);
  EXPECT_TRUE(std::isinf(parseFloat("1e999")));
  EXPECT_EQ(parseFloat("1e-999"), 0.0f);
  EXPECT_EQ(scrivel::toInt32(std::nan("")), 0);
  EXPECT_EQ(scrivel::toInt32(1e30), std::numeric_limits<int32_t>::max());
}

TEST(TextNumbers, DecimalPointIsTheCOneWhateverTheLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE"))
    GTEST_SKIP() << "no German locale installed to test a comma decimal point";
  EXPECT_EQ(scrivel::formatFixed(1.5), "1.500000");
  EXPECT_EQ(scrivel::formatFixed(3569.5, 2), "3569.50");
  EXPECT_FLOAT_EQ(scrivel::parseFloat("2426.187744"), 2426.187744f);
  std::setlocale(LC_NUMERIC, saved.c_str());
}
