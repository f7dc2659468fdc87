// Byte layouts of a profile's files and the version lists, on the static
// copy of the module: encoders, decoders and version numbering are pure.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "project/profile.h"

namespace {

// Bytes built by hand from the documented layout.
struct Bytes {
  std::string s;
  Bytes& i(int32_t v) {
    s.append(reinterpret_cast<const char*>(&v), 4);  // the test hosts are little-endian
    return *this;
  }
  Bytes& f(float v) {
    s.append(reinterpret_cast<const char*>(&v), 4);
    return *this;
  }
  Bytes& raw(const std::string& t) {
    s += t;
    return *this;
  }
};

std::string settingsBytes(const quv::DisplaySettings& d) {
  quv::ByteWriter w;
  quv::writeSettings(w, d);
  return w.bytes();
}

TEST(VersionNames, KindLetterAndTwoDigitNumber) {
  EXPECT_EQ(quv::versionName(quv::kTimeVersion, 1), "T01");
  EXPECT_EQ(quv::versionName(quv::kDepthVersion, 2), "D02");
  EXPECT_EQ(quv::versionName(quv::kElevationVersion, 99), "E99");
  EXPECT_EQ(quv::sampleFileName(quv::kTimeVersion, 3, "LINE1.QUV"), "T03_LINE1.QUV");
  EXPECT_EQ(quv::headerFileName(quv::kTimeVersion, 3, "LINE1.QUV"), "TT03_LINE1.QUV");
  EXPECT_EQ(quv::headerFileName(quv::kDepthVersion, 12, "A.QUV"), "DD12_A.QUV");
  EXPECT_EQ(quv::headerFileName(quv::kElevationVersion, 1, "A.QUV"), "EE01_A.QUV");
}

TEST(ProfileFileLayout, WithoutWindowItIsSevenWords) {
  quv::ProfileFileFields f;
  f.stamp = 258, f.traceCount = 120, f.reserved = 77, f.shownVersion = 2;
  f.selection1 = 1, f.selection2 = 3, f.windowOpen = 0;
  Bytes want;
  want.i(258).i(120).i(77).i(2).i(1).i(3).i(0);
  EXPECT_EQ(quv::encodeProfileFile(f), want.s);
}

TEST(ProfileFileLayout, WithWindowThePlacementAndThreeValuesFollow) {
  quv::ProfileFileFields f;
  f.traceCount = 5, f.windowOpen = 1;
  f.window.placement = {44, 2, 3, -1, -2, -3, -4, 10, 20, 630, 470};
  f.window.splitRatio = 0.25f, f.window.presentationMode = 1, f.window.textMode = 0;
  Bytes want;
  want.i(258).i(5).i(0).i(0).i(0).i(0).i(1);
  for (int v : {44, 2, 3, -1, -2, -3, -4, 10, 20, 630, 470}) want.i(v);
  want.f(0.25f).i(1).i(0);
  std::string got = quv::encodeProfileFile(f);
  EXPECT_EQ(got.size(), 28u + 56u);
  EXPECT_EQ(got, want.s);

  quv::ProfileFileFields back;
  ASSERT_TRUE(quv::decodeProfileFile(got, back));
  EXPECT_EQ(back.window.placement.right, 630);
  EXPECT_FLOAT_EQ(back.window.splitRatio, 0.25f);
  for (size_t cut = 0; cut < got.size(); ++cut)
    EXPECT_FALSE(quv::decodeProfileFile(got.substr(0, cut), back)) << cut;
}

quv::ProfileVersion sampleVersion() {
  quv::ProfileVersion v;
  v.samples = 512;
  v.minimum = -2000, v.maximum = 1000;
  v.amplitudeScale = quv::amplitudeScaleFor(v.minimum, v.maximum);
  v.firstTime = -1.5f, v.timeIncrement = 0.1f;
  v.firstDepth = 0.25f, v.depthIncrement = 0.02f;
  v.firstElevation = 100.0f, v.elevationIncrement = -0.02f;
  v.sourceKind = 0, v.sourceNumber = 2;
  v.name = "migrated";
  v.normal.gainType = 1;
  v.presentation.elements[quv::kTitle].texts[0] = "Line 1";
  return v;
}

TEST(VersionHeaderLayout, FieldsThenNameWithZeroThenTwoRecords) {
  quv::ProfileVersion v = sampleVersion();
  Bytes want;
  want.i(258).i(512).f(-2000).f(1000).f(127.0f / 2000).f(-1.5f).f(0.1f).f(0.25f).f(0.02f);
  want.f(100.0f).f(-0.02f).i(0).i(2).i(9).raw(std::string("migrated\0", 9));
  want.raw(settingsBytes(v.normal)).raw(settingsBytes(v.presentation));
  EXPECT_EQ(quv::encodeVersionHeader(v, 258), want.s);
  // An empty name is stored as length 1 and its terminating zero.
  std::string empty = quv::encodeVersionHeader(quv::ProfileVersion(), 258);
  EXPECT_EQ(empty.substr(13 * 4, 5), std::string("\x01\0\0\0\0", 5));
}

TEST(VersionHeaderLayout, RoundTripAndDamagedFiles) {
  std::string b = quv::encodeVersionHeader(sampleVersion(), 258);
  quv::ProfileVersion back;
  ASSERT_TRUE(quv::decodeVersionHeader(b, back));
  EXPECT_EQ(back.samples, 512);
  EXPECT_EQ(back.name, "migrated");
  EXPECT_EQ(back.sourceNumber, 2);
  EXPECT_EQ(back.normal.gainType, 1);
  EXPECT_EQ(back.presentation.elements[quv::kTitle].texts[0], "Line 1");

  for (size_t cut = 0; cut < b.size(); cut += 5) {
    quv::ProfileVersion t;
    EXPECT_FALSE(quv::decodeVersionHeader(b.substr(0, cut), t)) << cut;
    EXPECT_EQ(t.name, "");  // nothing taken from a damaged file
  }
  for (int32_t len : {0, -5, 0x7fffffff}) {
    std::string h = b;
    std::memcpy(&h[13 * 4], &len, 4);
    quv::ProfileVersion t;
    EXPECT_FALSE(quv::decodeVersionHeader(h, t)) << len;
  }
  std::string neg = b;
  int32_t minus = -1;
  std::memcpy(&neg[4], &minus, 4);
  quv::ProfileVersion t;
  EXPECT_FALSE(quv::decodeVersionHeader(neg, t));
}

TEST(SideFileLayout, GeometryCoordinatesAndElevations) {
  quv::ProfileHeader h;
  h.traceCount = 3;
  h.unitsPerFoot = 0.3048f;
  h.nodeTrace = {0, 2};
  h.nodeEasting = {10, 30};
  h.nodeNorthing = {5, 6};
  h.easting = {10, 20, 30};
  h.northing = {5, 5.5f, 6};
  Bytes geo, xy, z;
  geo.i(258).f(0.3048f).i(2).i(0).f(10).f(5).i(2).f(30).f(6);
  xy.i(258).f(10).f(5).f(20).f(5.5f).f(30).f(6);
  z.i(258).f(1).f(2).f(3);
  EXPECT_EQ(quv::encodeGeoFile(h, 258), geo.s);
  EXPECT_EQ(quv::encodeXYFile(h, 258), xy.s);
  EXPECT_EQ(quv::encodeZFile({1, 2, 3}, 258), z.s);

  quv::ProfileHeader back;
  back.traceCount = 3;
  ASSERT_TRUE(quv::decodeGeoFile(geo.s, back));
  ASSERT_TRUE(quv::decodeXYFile(xy.s, back));
  EXPECT_EQ(back.nodeTrace, h.nodeTrace);
  EXPECT_EQ(back.northing, h.northing);
  std::vector<float> elev;
  ASSERT_TRUE(quv::decodeZFile(z.s, 3, elev));
  EXPECT_EQ(elev, (std::vector<float>{1, 2, 3}));
}

TEST(SideFileLayout, CountsBeyondTheFileFailWithoutAllocating) {
  quv::ProfileHeader h;
  Bytes geo;
  geo.i(258).f(1).i(0x7fffffff).i(0).f(0).f(0);
  EXPECT_FALSE(quv::decodeGeoFile(geo.s, h));
  Bytes negative;
  negative.i(258).f(1).i(-3);
  EXPECT_FALSE(quv::decodeGeoFile(negative.s, h));
  // The coordinate file must hold N pairs: fewer fails, more is accepted.
  Bytes xy;
  xy.i(258).f(1).f(2).f(3).f(4);
  h.traceCount = 3;
  EXPECT_FALSE(quv::decodeXYFile(xy.s, h));
  h.traceCount = 0x7fffffff;
  EXPECT_FALSE(quv::decodeXYFile(xy.s, h));
  h.traceCount = 1;
  EXPECT_TRUE(quv::decodeXYFile(xy.s, h));
  std::vector<float> z;
  EXPECT_FALSE(quv::decodeZFile(xy.s, 1000, z));
}

// --- version lists ----------------------------------------------------------

TEST(VersionList, OrderedByKindThenNumberAndNewNumbersFollowTheLast) {
  quv::ProfileItem item;
  item.header = std::make_unique<quv::ProfileHeader>();
  item.header->traceCount = 4;
  item.fileName = "LINE1.QUV";
  ASSERT_NE(quv::addVersion(item, "/p", quv::kDepthVersion, 2), nullptr);
  ASSERT_NE(quv::addVersion(item, "/p", quv::kTimeVersion, 3), nullptr);
  ASSERT_NE(quv::addVersion(item, "/p", quv::kTimeVersion, 1), nullptr);
  EXPECT_EQ(quv::addVersion(item, "/p", quv::kTimeVersion, 1), nullptr);  // exists
  EXPECT_EQ(quv::addVersion(item, "/p", quv::kTimeVersion, 100), nullptr);
  EXPECT_EQ(quv::addVersion(item, "/p", 3, 1), nullptr);
  quv::rebuildVersionList(item);
  std::vector<std::string> labels;
  for (auto* v : item.versionList) labels.push_back(v->label());
  EXPECT_EQ(labels, (std::vector<std::string>{"T01", "T03", "D02"}));
  EXPECT_EQ(quv::newVersionNumber(item, quv::kTimeVersion), 4);
  EXPECT_EQ(quv::newVersionNumber(item, quv::kDepthVersion), 3);
  EXPECT_EQ(quv::newVersionNumber(item, quv::kElevationVersion), 1);

  auto choices = quv::profileVersions(item);
  ASSERT_EQ(choices.size(), 3u);
  EXPECT_EQ(choices[2].kind, quv::kDepthVersion);
  EXPECT_EQ(choices[2].number, 2);
  EXPECT_EQ(choices[2].label, "D02");

  quv::ProfileVersion* t3 = quv::findVersion(item, quv::kTimeVersion, 3);
  ASSERT_NE(t3, nullptr);
  EXPECT_EQ(t3->samplePath, "/p/T03_LINE1.QUV");
  EXPECT_EQ(t3->headerPath, "/p/TT03_LINE1.QUV");
  EXPECT_EQ(t3->needed.size(), 4u);

  item.shownVersion = 2;
  EXPECT_EQ(quv::shownVersion(item)->label(), "D02");
  item.shownVersion = 17;  // out of range: the first version
  EXPECT_EQ(quv::shownVersion(item)->label(), "T01");
}

TEST(VersionList, NoNumberIsOfferedOnceNinetyNineIsTaken) {
  quv::ProfileItem item;
  item.header = std::make_unique<quv::ProfileHeader>();
  quv::addVersion(item, "/p", quv::kElevationVersion, 99);
  EXPECT_EQ(quv::newVersionNumber(item, quv::kElevationVersion), 0);
}

TEST(ValueTables, TimeDepthAndElevationFromTheHeader) {
  quv::ProfileHeader h;
  h.unitsPerFoot = 0.3048f;
  quv::ProfileVersion t;
  t.header = &h;
  t.samples = 3;
  t.firstTime = 2, t.timeIncrement = 0.5f;
  t.normal.velocity = 0.3f, t.presentation.velocity = 0.2f;
  t.firstElevation = 10, t.elevationIncrement = 1;
  quv::computeValueTables(t);
  EXPECT_FLOAT_EQ(t.time[2], 3.0f);
  EXPECT_FLOAT_EQ(t.depthNormal[2], 3.0f * 0.3f * 0.3048f * 0.5f);
  EXPECT_FLOAT_EQ(t.depthPresentation[2], 3.0f * 0.2f * 0.3048f * 0.5f);
  EXPECT_FLOAT_EQ(t.elevation[1], 11.0f * 0.3048f);

  quv::ProfileVersion d;
  d.header = &h;
  d.samples = 3;
  d.kind = quv::kDepthVersion;
  d.firstDepth = 1, d.depthIncrement = 0.25f;
  quv::computeValueTables(d);
  EXPECT_FLOAT_EQ(d.depthNormal[2], 1.5f * 0.3048f);
  EXPECT_FLOAT_EQ(d.depthPresentation[2], 1.5f * 0.3048f);
}

// A version's samples are seen through the mapping of its trace file: the
// floats the file holds, trace after trace; a file renamed over it is mapped
// anew; traces a short file does not hold are not mapped.
TEST(MappedSamples, TheFilesFloatsAndAFileWrittenAnewIsMappedAgain) {
  const std::string dir = testing::TempDir();
  const std::string path = dir + "/T01_MAPPED.QUV";
  auto write = [&](int traces, float offset) {
    std::vector<float> x(size_t(traces) * 16);
    for (size_t k = 0; k < x.size(); ++k) x[k] = offset + float(k) * 0.5f;
    std::ofstream(path + ".part", std::ios::binary).write(reinterpret_cast<const char*>(x.data()), std::streamsize(x.size() * 4));
    std::filesystem::rename(path + ".part", path);
    return x;
  };
  quv::ProfileVersion v;
  v.samplePath = path;
  v.samples = 16;
  v.needed.assign(5, 1);
  v.buffers.resize(5);
  auto check = [&](const std::vector<float>& x, int traces) {
    for (int i = 0; i < traces; ++i) {
      ASSERT_TRUE(v.buffers[size_t(i)].mapped()) << i;
      EXPECT_EQ(std::vector<float>(v.buffers[size_t(i)].get(), v.buffers[size_t(i)].get() + 16),
                std::vector<float>(x.begin() + i * 16, x.begin() + (i + 1) * 16)) << i;
    }
  };
  std::vector<float> x = write(5, 0.0f);
  quv::loadSamples(v, false);
  check(x, 5);

  // Rewritten through a temporary file: the old mapping is dropped for the new file.
  x = write(3, 1000.0f);
  v.buffers[1].reset();
  quv::loadSamples(v, false);
  check(x, 3);
  EXPECT_FALSE(v.buffers[3].mapped());  // beyond the short file: not from the mapping
  std::remove(path.c_str());
}

}  // namespace
