// The display settings record and the project defaults file, tested on the
// static copy of the module (pure encoders and decoders; the file helpers
// need no framework).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "project/display_settings.h"
#include "project/defaults_file.h"

namespace {

using quv::ByteReader;
using quv::ByteWriter;
using quv::DisplaySettings;

// An independent reader of the stored layout, field by field as the record
// is documented, so that an encoder that swaps or drops a field is caught.
struct Walk {
  const std::string& b;
  size_t p = 0;
  int32_t i() {
    EXPECT_LE(p + 4, b.size());
    int32_t v = 0;
    if (p + 4 <= b.size()) std::memcpy(&v, b.data() + p, 4);
    p += 4;
    return v;
  }
  float f() {
    int32_t v = i();
    float x;
    std::memcpy(&x, &v, 4);
    return x;
  }
  std::string text() {
    int32_t n = i();
    EXPECT_GE(n, 0);
    std::string s = b.substr(p, static_cast<size_t>(n));
    p += static_cast<size_t>(n);
    return s;
  }
  struct Font {
    int32_t height, width, escapement, orientation, weight;
    uint8_t charSet;
    std::string face;
  };
  Font font() {
    Font f{};
    f.height = i(), f.width = i(), f.escapement = i(), f.orientation = i(), f.weight = i();
    f.charSet = static_cast<uint8_t>(b[p + 3]);
    p += 8;
    f.face = std::string(b.data() + p, strnlen(b.data() + p, 32));
    p += 32;
    return f;
  }
};

std::string encode(const DisplaySettings& s) {
  ByteWriter w;
  quv::writeSettings(w, s);
  return w.bytes();
}

void expectArial(const Walk::Font& f, int escapement) {
  EXPECT_EQ(f.face, "Arial");
  EXPECT_EQ(f.weight, 400);
  EXPECT_EQ(f.charSet, 1);
  EXPECT_EQ(f.escapement, escapement);
  EXPECT_EQ(f.orientation, escapement);
}

TEST(DisplaySettingsLayout, DefaultRecordReadsBackFieldByFieldInStoredOrder) {
  DisplaySettings s;
  const std::string b = encode(s);
  Walk w{b};
  struct Element {
    float l, t, r, bt;
    std::vector<std::string> texts;
    int shown, orientation;
  };
  const Element expected[6] = {
      {1.25f, 1.5f, 10.25f, 8.0f, {}, 0, 0},
      {5.0f, 17.0f / 36, 7.0f, 0.75f, {"Radar Profile"}, 0, 0},
      {5.25f, 31.0f / 36, 7.25f, 1.0f,
       {"Trace #", "Easting/Northing (%d)", "Northing/Easting (%d)"}, 1, 0},
      {13.0f / 36, 3.0f, 0.5f, 5.0f, {"Sample #", "Time (ns)", "Depth (%d)", "Elevation (%d)"}, 1,
       1},
      {9.25f, 7.0f / 12, 10.25f, 1.0f, {}, 0, 0},
      {0.5f, 0.5f, 1.0f, 1.0f, {}, 0, 0},
  };
  for (const Element& e : expected) {
    EXPECT_FLOAT_EQ(w.f(), e.l);
    EXPECT_FLOAT_EQ(w.f(), e.t);
    EXPECT_FLOAT_EQ(w.f(), e.r);
    EXPECT_FLOAT_EQ(w.f(), e.bt);
    EXPECT_EQ(w.i(), 1);  // maintain aspect
    EXPECT_EQ(w.i(), e.orientation);
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(w.text(), k < (int)e.texts.size() ? e.texts[k] : std::string());
    EXPECT_EQ(w.i(), e.shown);
    expectArial(w.font(), e.orientation == 1 ? 900 : 0);
    EXPECT_EQ(w.i(), 0);  // colour black
    EXPECT_EQ(w.i(), 0);  // not hidden
  }
  for (float v : {0.0f, 0.0f, 11.0f, 8.5f}) EXPECT_FLOAT_EQ(w.f(), v);  // visible region
  // The 60 fields from the units factor to the last far-side flag (the
  // landscape flag is not among them): 'f' float, 'i' int.
  const char* kinds = "fffffffi" "iffff" "ii" "iiiiiifi" "iiii" "ii" "ii" "ii" "f"
                      "iiiiffiiii" "iiii" "iiiiii" "iiiiii";
  const double values[] = {1.0, 11.0, 8.5, 0.3, 0.3, 0.3, 0.3, 0,     // page
                           3, 1.0, 25.0, 0.15, 0.01,                  // gain
                           2, 64,                                     // colour
                           0, 0, 0, 0, 1, 5, 2.0, 0,                  // wiggles
                           0, 0, 0, 0,                                // zoom window
                           1, 1, 0, 0, 1, 1,                          // axis, ticks, both
                           0.3,                                       // velocity
                           5, 5, 100, 100, 100.0, 100.0, 2, 2, 5, 5,  // values
                           0, 0, 0, 0,                                // hide first/last
                           0, 0, 0, 0, 0, 0,                          // near side
                           1, 1, 1, 1, 1, 1};                         // far side
  ASSERT_EQ(std::strlen(kinds), 60u);
  for (int k = 0; k < 60; ++k) {
    if (kinds[k] == 'f')
      EXPECT_FLOAT_EQ(w.f(), (float)values[k]) << "field " << k;
    else
      EXPECT_EQ(w.i(), (int)values[k]) << "field " << k;
  }
  EXPECT_FLOAT_EQ(w.f(), 10.0f);  // axis font sizes
  EXPECT_FLOAT_EQ(w.f(), 10.0f);
  w.i(), w.i();  // font heights
  expectArial(w.font(), 0);
  expectArial(w.font(), 0);
  EXPECT_EQ(w.i(), 0);  // axis text colours
  EXPECT_EQ(w.i(), 0);
  EXPECT_EQ(w.i(), 0);  // hide major grid lines
  EXPECT_EQ(w.i(), 1);  // hide minor grid lines
  EXPECT_EQ(w.i(), 0);  // hide geometry nodes
  const char* legend[3] = {"Project: %proj_name%", "Profile: %prof_name%", "Tab: %tab_name%"};
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(w.text(), k < 3 ? legend[k] : "");
    EXPECT_FLOAT_EQ(w.f(), k < 3 ? 10.0f : 0.0f);
  }
  EXPECT_EQ(w.i(), 0);  // comments placement
  EXPECT_EQ(w.i(), 1);  // rotation
  EXPECT_FLOAT_EQ(w.f(), 10.0f);
  EXPECT_EQ(w.i(), 0);  // fourth value
  expectArial(w.font(), 900);
  EXPECT_EQ(w.i(), 0);  // colour
  EXPECT_EQ(w.p, b.size());
  EXPECT_EQ(b.size(), 1402u);
}

TEST(DisplaySettingsLayout, EmptyTextIsItsLengthAloneAndUnstoredFieldsChangeNothing) {
  DisplaySettings a, b;
  b.landscape = 0;
  b.elements[quv::kTracesBox].pixels = {10, 20, 300, 400};
  EXPECT_EQ(encode(a), encode(b));
  b.elements[quv::kTitle].texts[0].clear();
  EXPECT_EQ(encode(a).size() - encode(b).size(), std::strlen("Radar Profile"));
}

TEST(DisplaySettingsRoundTrip, EveryStoredFieldComesBackAndFontsAreRecreated) {
  DisplaySettings s;
  s.elements[quv::kLegend].texts[2] = "third";
  s.elements[quv::kTitle].font.quality = 7;
  s.gainType = 4, s.wiggleColour = quv::rgb(255, 0, 128), s.lastSample = 511;
  s.hBottomMinor = 0, s.hideGeometryNodes = 1, s.vFontHeight = 17;
  quv::setFaceName(s.vFont, "Courier New");
  s.legendTexts[9] = "last line", s.legendSizes[9] = 12.5f, s.commentsFourth = 42;
  std::string bytes = encode(s);

  DisplaySettings back;
  back.vFontObject.created = false;
  ByteReader r(bytes);
  ASSERT_TRUE(quv::readSettings(r, 258, back));
  EXPECT_EQ(r.remaining(), 0u);
  EXPECT_TRUE(quv::sameStoredFields(s, back));
  EXPECT_EQ(back.legendTexts[9], "last line");
  EXPECT_TRUE(back.vFontObject.created);
  EXPECT_EQ(quv::faceName(back.vFontObject.font), "Courier New");
}

TEST(DisplaySettingsRoundTrip, TruncatedRecordsAndHostileTextLengthsFail) {
  std::string bytes = encode(DisplaySettings());
  for (size_t cut = 0; cut < bytes.size(); cut += 7) {
    DisplaySettings s;
    ByteReader r(bytes.data(), cut);
    EXPECT_FALSE(quv::readSettings(r, 258, s)) << "cut at " << cut;
  }
  // The first text length of the traces box follows six 4-byte fields.
  for (int32_t len : {-1, 0x7fffffff, 1379}) {
    std::string b = bytes;
    std::memcpy(&b[24], &len, 4);
    DisplaySettings s;
    ByteReader r(b);
    EXPECT_FALSE(quv::readSettings(r, 258, s)) << len;
  }
}

// --- the defaults file --------------------------------------------------------

quv::ProjectDefaults sampleDefaults() {
  quv::ProjectDefaults d;
  d.values.rawGain = 2, d.values.rawPalette = 1;
  d.values.boxWidth = 7.5f, d.values.depthScale = 240.0f, d.values.verticalUse = 2;
  d.normal.gainType = 0;
  d.presentation.elements[quv::kTitle].texts[0] = "Site A";
  return d;
}

TEST(DefaultsFile, HeadIsTheMarkerAndStampThenTheTenValues) {
  std::string plain = quv::encodeDefaults(sampleDefaults(), false, 258);
  std::string head = quv::encodeDefaults(sampleDefaults(), true, 258);
  ASSERT_EQ(head.size(), plain.size() + 8);
  Walk w{head};
  EXPECT_EQ(w.i(), 12345);
  EXPECT_EQ(w.i(), 258);
  EXPECT_EQ(head.substr(8), plain);
  Walk v{plain};
  EXPECT_EQ(v.i(), 2);
  EXPECT_EQ(v.i(), 1);
  EXPECT_FLOAT_EQ(v.f(), 7.5f);
  for (float x : {6.5f, 100.0f, 100.0f, 100.0f, 240.0f}) EXPECT_FLOAT_EQ(v.f(), x);
  EXPECT_EQ(v.i(), 0);
  EXPECT_EQ(v.i(), 2);
  EXPECT_EQ(plain.substr(40), encode(sampleDefaults().normal) + encode(sampleDefaults().presentation));
}

TEST(DefaultsFile, BothFormsReadTheSameAndATruncatedFileChangesNothing) {
  for (bool withHead : {false, true})
    for (int stamp : {258, -7}) {  // the stamp is not tested
      quv::ProjectDefaults d;
      ASSERT_TRUE(quv::decodeDefaults(quv::encodeDefaults(sampleDefaults(), withHead, stamp), d));
      EXPECT_EQ(d.values.verticalUse, 2);
      EXPECT_EQ(d.normal.gainType, 0);
      EXPECT_EQ(d.presentation.elements[quv::kTitle].texts[0], "Site A");
    }
  std::string bytes = quv::encodeDefaults(sampleDefaults(), true, 258);
  for (size_t cut : {size_t(0), size_t(8), size_t(30), bytes.size() - 1}) {
    quv::ProjectDefaults d;
    EXPECT_FALSE(quv::decodeDefaults(bytes.substr(0, cut), d)) << cut;
    EXPECT_EQ(d.values.rawGain, 0);
  }
}

TEST(DefaultsFile, SavedWholeLoadedOnOpenAndDamagedFilesKeepTheBuiltInValues) {
  auto dir = std::filesystem::temp_directory_path() / "quv_defaults_file";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  EXPECT_FALSE(quv::loadProjectDefaults(dir.string()));  // no file: built-in values
  ASSERT_NE(quv::displayDefaults(), nullptr);
  *quv::displayDefaults() = sampleDefaults();
  ASSERT_TRUE(quv::saveProjectDefaults(dir.string(), true));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no temporary
  quv::createDisplayDefaults();
  ASSERT_TRUE(quv::loadProjectDefaults(dir.string()));
  EXPECT_EQ(quv::displayDefaults()->presentation.elements[quv::kTitle].texts[0], "Site A");

  std::ofstream(dir / "DEFAULTS.QUV", std::ios::binary) << std::string("\x39\x30\0\0", 4);
  quv::createDisplayDefaults();
  EXPECT_FALSE(quv::loadProjectDefaults(dir.string()));
  EXPECT_EQ(quv::displayDefaults()->normal.gainType, 3);
  quv::deleteDisplayDefaults();
  EXPECT_EQ(quv::displayDefaults(), nullptr);
  std::filesystem::remove_all(dir);
}

}  // namespace
