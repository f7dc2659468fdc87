// Create Profile on the shared real recordings, one of each format the
// format library accepts, through the LOADED module: every sample of every
// trace of "T01_" is compared bit for bit with the recording decoded here
// from its own bytes (and RAMAC's DC removal applied here), and the decoder
// is checked first against the independent values of reference.json.
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <functional>

#include "fixture.h"
#include "project/raw.h"

namespace {

using namespace quvtest;

uint16_t u16(const std::string& b, size_t at) {
  return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}
uint32_t u32(const std::string& b, size_t at) { return u16(b, at) | uint32_t(u16(b, at + 2)) << 16; }

// The traces of a recording as float samples, decoded from its bytes.
using Traces = std::vector<std::vector<float>>;

// GSSI 16-bit: 1024-byte header, unsigned samples less the Zero field. With
// user marks in the file, the two marker samples of every trace read as the
// zero level.
Traces gssi16(const std::string& b, int traces, int n) {
  Traces t((size_t)traces, std::vector<float>((size_t)n));
  const long zero = u16(b, 8) ? u16(b, 8) : 32768;  // left unfilled: the mid level
  for (int i = 0; i < traces; ++i)
    for (int j = 0; j < n; ++j)
      t[i][j] = j < 2 ? 0.0f : float(long(u16(b, 1024 + 2 * (size_t(i) * n + j))) - zero);
  return t;
}

// pulseEKKO DT1: per trace a 128-byte header and n int16.
Traces dt1(const std::string& b, int traces, int n) {
  Traces t((size_t)traces, std::vector<float>((size_t)n));
  for (int i = 0; i < traces; ++i)
    for (int j = 0; j < n; ++j)
      t[i][j] = float(int16_t(u16(b, size_t(i) * (128 + 2 * n) + 128 + 2 * j)));
  return t;
}

// RAMAC RD3: n int16 per trace, nothing else.
Traces rd3(const std::string& b, int traces, int n) {
  Traces t((size_t)traces, std::vector<float>((size_t)n));
  for (int i = 0; i < traces; ++i)
    for (int j = 0; j < n; ++j) t[i][j] = float(int16_t(u16(b, 2 * (size_t(i) * n + j))));
  return t;
}

// SEG-2 little-endian with int32 samples (code 2): the trace pointers follow
// the 32-byte file descriptor; each trace's data follows its descriptor.
Traces seg2Int32(const std::string& b, int traces, int n) {
  Traces t((size_t)traces, std::vector<float>((size_t)n));
  for (int i = 0; i < traces; ++i) {
    const size_t at = u32(b, 32 + 4 * size_t(i));
    const size_t data = at + u16(b, at + 2);
    for (int j = 0; j < n; ++j) t[i][j] = float(int32_t(u32(b, data + 4 * size_t(j))));
  }
  return t;
}

// SEG-Y little-endian int16 (code 3): 3600-byte file header, then per trace
// a 240-byte header (binary gain exponent at 168) and n samples.
Traces segyInt16(const std::string& b, int traces, int n) {
  Traces t((size_t)traces, std::vector<float>((size_t)n));
  for (int i = 0; i < traces; ++i) {
    const size_t at = 3600 + size_t(i) * (240 + 2 * n);
    const int g = u16(b, at + 168);
    for (int j = 0; j < n; ++j)
      t[i][j] = float(std::ldexp(double(int16_t(u16(b, at + 240 + 2 * j))), -g));
  }
  return t;
}

void removeDc(Traces& t) {
  for (auto& s : t) {
    const int n = (int)s.size(), q = n / 4;
    double sum = 0;
    for (int j = n - q; j < n; ++j) sum += s[j];
    const float mean = float(sum / q);
    for (float& x : s) x -= mean;
  }
}

struct Recording {
  const char* path;     // in the shared folder
  const char* data;     // the file holding the samples
  int traces, samples;
  Traces (*decode)(const std::string&, int, int);
  bool ramac;
  double level = 0;  // what the reader subtracts from the stored values
};

class CreateProfileRecordings : public ProjectTest {};

TEST_F(CreateProfileRecordings, EveryFormatBecomesItsSamplesBitForBit) {
  QUV_NEED_FORMAT_LIBRARY();
  const Recording all[] = {
      {"gssi/FILE____032.DZT", "gssi/FILE____032.DZT", 1040, 512, gssi16, false, 32768},
      {"pekko/XLINE01.HD", "pekko/XLINE01.DT1", 233, 250, dt1, false},
      {"ramac/ten_col.rad", "ramac/ten_col.rd3", 10, 512, rd3, true},
      {"seg2/1000.DAT", "seg2/1000.DAT", 24, 2048, seg2Int32, false},
      {"segy/f3-lsb.sgy", "segy/f3-lsb.sgy", 414, 75, segyInt16, false},
  };
  QUV_NEED_TESTDATA("reference.json");
  std::vector<std::string> paths;
  for (const Recording& r : all) {
    QUV_NEED_TESTDATA(r.path);
    QUV_NEED_TESTDATA(r.data);
    paths.push_back(testdataPath(r.path));
  }
  const nlohmann::json reference = nlohmann::json::parse(readFile(testdataPath("reference.json")));

  addRecordings(paths);
  popup(item("Site/QUV/Raw Data"), 33102);  // Select All
  answer("answer dialog \"Specify Name for Profiles\" press OK");
  answer("answer dialog \"Edit Geometry\" press OK");
  command(35001);

  for (const Recording& r : all) {
    const std::string label = quv::fileNameOf(r.path);
    const std::string name = label.substr(0, label.rfind('.'));
    SCOPED_TRACE(label);
    EXPECT_EQ(countOf(messages(), "Create Profile: " + name + " - Completed"), 1) << messages();

    Traces expect = r.decode(readFile(testdataPath(r.data)), r.traces, r.samples);
    // The decoder reads what the independent readers read (less the zero level).
    const auto& mid = reference["files"][r.path]["independent"]["trace0_samples_from_mid"];
    const int from = mid["start"];
    for (size_t k = 0; k < mid["values"].size(); ++k)
      ASSERT_EQ(double(expect[0][from + k]), double(mid["values"][k]) - r.level) << "sample " << from + k;
    if (r.ramac) removeDc(expect);

    const std::string t01 = readFile(inProject("T01_" + name + ".QUV"));
    ASSERT_EQ(t01.size(), size_t(r.traces) * r.samples * 4);
    for (int i = 0; i < r.traces; ++i)
      for (int j = 0; j < r.samples; ++j) {
        float got;
        std::memcpy(&got, t01.data() + 4 * (size_t(i) * r.samples + j), 4);
        uint32_t a, b;
        std::memcpy(&a, &got, 4);
        std::memcpy(&b, &expect[i][j], 4);
        ASSERT_EQ(a, b) << "trace " << i << " sample " << j << ": " << got << " not " << expect[i][j];
      }
  }
}

}  // namespace
