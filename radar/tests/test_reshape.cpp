// Reverse, Crop, Reorder and Resample: the order text and the resampling rule
// (static copy), and through the LOADED module the rewrite of a recording of
// each format, read back here with the format library and compared sample
// for sample with what the rule gives; the refusals and a failed rewrite,
// which leave every file as it was.
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "dv/file.h"
#include "fixture.h"
#include "pontra/services.h"
#include "processing/resample.h"
#include "processing/trace_bytes.h"
#include "processing/trace_order.h"
#include "project/raw.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"
#include "scrivel/time_axis.h"
#include "synth.h"

namespace {

using namespace quvtest;

std::vector<int> order(const std::string& text, int traces) {
  std::vector<int> out;
  EXPECT_TRUE(quv::ParseTraceOrder(text, traces, out)) << text;
  return out;
}

TEST(TraceOrder, EntriesRangesBothWaysAndBlanksOnTheirOwnEntry) {
  EXPECT_EQ(order("1-5,10", 10), (std::vector<int>{1, 2, 3, 4, 5, 10}));
  EXPECT_EQ(order("5-1", 10), (std::vector<int>{5, 4, 3, 2, 1}));
  EXPECT_EQ(order("!1-3,4-10", 10), (std::vector<int>{-1, -2, -3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(order(" 2 - 3 , ! 7 ", 10), (std::vector<int>{2, 3, -7}));
  EXPECT_EQ(quv::defaultTraceOrder(quv::OrderMode::Reverse, 24), "24-1");
  EXPECT_EQ(quv::defaultTraceOrder(quv::OrderMode::Reorder, 24), "1-24");
}

TEST(TraceOrder, EveryFaultIsAParseError) {
  for (const char* text : {"1-11", "1-2-3", "a", "1,x", "-3", "3-", "0", "", "1,,2", "!", "1!2",
                           "99999999999"}) {
    std::vector<int> out{7};
    EXPECT_FALSE(quv::ParseTraceOrder(text, 10, out)) << text;
    EXPECT_TRUE(out.empty()) << text;
  }
}

TEST(TraceOrder, MarkersFollowTheirTracesAndThoseLeftOutAreDropped) {
  std::vector<int> order;
  ASSERT_TRUE(quv::ParseTraceOrder("!1-2,10-3", 10, order));  // traces 1 and 2 blanked
  std::vector<quv::GeoNode> markers = {{0, 1, 1}, {1, 2, 2}, {2, 3, 3}, {9, 10, 10}};
  EXPECT_EQ(quv::remapMarkers(markers, order), 2);
  ASSERT_EQ(markers.size(), 2u);
  EXPECT_EQ(markers[0].trace, 2);  // old trace 10 is now the third
  EXPECT_EQ(markers[0].easting, 10);
  EXPECT_EQ(markers[1].trace, 9);  // old trace 3 is now the last
}

TEST(ResampleRule, SampleCountsAndTheGssiCounts) {
  EXPECT_EQ(quv::resampledSampleCount(0, 100, 0.5), 201);
  EXPECT_EQ(quv::gssiSampleCount(201), 256);
  // (0.7 - 0) / 0.1 is a little below 7 in floating point: not one sample more or less.
  EXPECT_EQ(quv::resampledSampleCount(0, 0.7, 0.1), 8);
  EXPECT_EQ(quv::resampledSampleCount(0, 100.2, 0.5), 202);
  EXPECT_EQ(quv::resampledSampleCount(10, 5, 0.5), 0);
  EXPECT_EQ(quv::resampledSampleCount(0, 1e12, 0.001), quv::kMaxResampledSamples + 1);
  EXPECT_EQ(quv::gssiSampleCount(100), 128);
  EXPECT_EQ(quv::gssiSampleCount(1025), 2048);
  EXPECT_EQ(quv::gssiSampleCount(5000), 2048);
}

TEST(ResampleRule, InterpolatesExtrapolatesJustBeforeT0AndIsZeroOutside) {
  const float in[4] = {10, 20, 30, 40};
  float out[11];
  quv::resampleTrace(in, 4, 0.0, 1.0, out, 11, -0.5, 0.5);
  // t = -0.5 is less than dt before t0: k = 0, extrapolated from 10 and 20.
  const float want[11] = {5, 10, 15, 20, 25, 30, 35, 40, 20, 0, 0};
  for (int j = 0; j < 11; ++j) EXPECT_FLOAT_EQ(out[j], want[j]) << j;
  quv::resampleTrace(in, 4, 0.0, 1.0, out, 1, -1e9, 1.0);
  EXPECT_EQ(out[0], 0.0f) << "far before the trace";
}

TEST(ResampleRule, AxesAHeaderCannotRecordAreNamed) {
  EXPECT_EQ(quv::timeAxisFault(quv::kRawPekko, 201, 0, 0.5), "");
  EXPECT_EQ(quv::timeAxisFault(quv::kRawPekko, 201, -1.5, 0.5), "");
  EXPECT_NE(quv::timeAxisFault(quv::kRawPekko, 334, 0, 0.3), "") << "a window of 99.9 ns";
  EXPECT_NE(quv::timeAxisFault(quv::kRawPekko, 201, 0.2, 0.5), "") << "time zero between samples";
  EXPECT_NE(quv::timeAxisFault(quv::kRawRamac, 201, 5, 0.5), "");
  EXPECT_NE(quv::timeAxisFault(quv::kRawSegy, 201, 0, 0.0005), "") << "half a picosecond";
  EXPECT_NE(quv::timeAxisFault(quv::kRawSegy, 201, 0, 70), "") << "above 65535 ps";
  EXPECT_EQ(quv::timeAxisFault(quv::kRawSegy, 201, 0, 0.5), "");
  EXPECT_EQ(quv::timeAxisFault(quv::kRawSeg2, 201, -3.25, 0.37), "");
  EXPECT_EQ(quv::timeAxisFault(quv::kRawGssi, 256, -3.25, 0.37), "");
}

// --- recordings read back with the format library ---------------------------------

struct Recording {
  int traces = 0, samples = 0;
  double firstTime = 0, interval = 0;
  std::vector<std::vector<float>> s;
  std::vector<int> marked;
};

// Every trace of a recording (`data` is the pulseEKKO or RAMAC data file).
Recording readBack(int format, const std::string& path, const std::string& data) {
  Recording r;
  dv::File f;
  const std::string& samplesFile = format == quv::kRawPekko || format == quv::kRawRamac ? data : path;
  EXPECT_EQ(OpenFileForRead(samplesFile.c_str(), &f), 0) << samplesFile;
  auto take = [&](float* s, int n, int mark) {
    r.s.emplace_back(s, s + n);
    r.marked.push_back(mark);
    std::free(s);
  };
  float* s = nullptr;
  switch (format) {
    case quv::kRawGssi: {
      GssiFHdr* h = nullptr;
      EXPECT_GE(ReadGssiFHdr(path.c_str(), &h), 0);
      r.traces = h->traceCount, r.samples = h->NSamp;
      scrivel::TimeAxis a = scrivel::timeAxis(*h);
      r.firstTime = a.firstNs, r.interval = a.intervalNs;
      for (int i = 0, mark = 0; i < r.traces; ++i)
        if (ReadGssiTrace(path.c_str(), &f, h, i, &mark, &s, 1) >= 0) take(s, r.samples, mark);
      CleanupGssiFHdr(h);
      break;
    }
    case quv::kRawPekko: {
      PekkoFHdr* h = nullptr;
      EXPECT_GE(ReadPekkoFHdr(path.c_str(), &h), 0);
      r.traces = h->traces, r.samples = h->points;
      scrivel::TimeAxis a = scrivel::timeAxis(*h);
      r.firstTime = a.firstNs, r.interval = a.intervalNs;
      for (int i = 0; i < r.traces; ++i) {
        PekkoTraceHdr* th = nullptr;
        if (ReadPekkoTrace(data.c_str(), &f, h, &th, i, &s, 1) >= 0)
          take(s, r.samples, th->comment[0] == 'f');
        delete th;
      }
      delete h;
      break;
    }
    case quv::kRawRamac: {
      RamacFHdr* h = nullptr;
      EXPECT_GE(ReadRamacFHdr(path.c_str(), &h), 0);
      r.traces = h->lastTrace, r.samples = h->samples;
      scrivel::TimeAxis a = scrivel::timeAxis(*h);
      r.firstTime = a.firstNs, r.interval = a.intervalNs;
      for (int i = 0; i < r.traces; ++i)
        if (ReadRamacTrace(data.c_str(), &f, h, i, &s, 1) >= 0) take(s, r.samples, 0);
      delete h;
      break;
    }
    case quv::kRawSeg2: {
      Seg2FHdr* h = nullptr;
      EXPECT_GE(ReadSeg2FHdr(path.c_str(), &h), 0);
      r.traces = h->traces;
      for (int i = 0; i < r.traces; ++i) {
        Seg2TraceHdr* th = nullptr;
        if (ReadSeg2Trace(path.c_str(), &f, h, &th, i, &s, 1) < 0) continue;
        if (i == 0) {
          scrivel::TimeAxis a = scrivel::timeAxis(*th);
          r.samples = int(th->samples), r.firstTime = a.firstNs, r.interval = a.intervalNs;
        }
        take(s, int(th->samples), 0);
        std::free(th);
      }
      CleanupSeg2FHdr(h);
      break;
    }
    case quv::kRawSegy: {
      SegyFHdr* h = nullptr;
      EXPECT_GE(ReadSegyFHdr(path.c_str(), &h), 0);
      r.traces = int(scrivel::segyTraceCount(*h)), r.samples = h->samples;
      scrivel::TimeAxis a = scrivel::timeAxis(*h);
      r.firstTime = a.firstNs, r.interval = a.intervalNs;
      for (int i = 0; i < r.traces; ++i) {
        SegyTraceHdr* th = nullptr;
        if (ReadSegyTrace(path.c_str(), &f, h, &th, i, &s, 1) >= 0) take(s, r.samples, 0);
        std::free(th);
      }
      std::free(h);
      break;
    }
  }
  f.close();
  EXPECT_EQ(int(r.s.size()), r.traces) << path << ": every trace reads";
  return r;
}

struct Item {
  const char* label;
  const char* format;
  int kind;
  const char* first;
  const char* second;
};
const Item kItems[] = {
    {"A.DZT", "DZT", quv::kRawGssi, "DZT_A.QUV", "DZT_A.QUV"},
    {"B.HD", "HD", quv::kRawPekko, "HD_B.QUV", "DT1_B.QUV"},
    {"C.RAD", "RAD", quv::kRawRamac, "RAD_C.QUV", "RD3_C.QUV"},
    {"D.SG2", "SG2", quv::kRawSeg2, "SG2_D.QUV", "SG2_D.QUV"},
    {"E.SGY", "SGY", quv::kRawSegy, "SGY_E.QUV", "SGY_E.QUV"},
};

class Reshape : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
    std::vector<std::string> paths;
    for (const Item& it : kItems) paths.push_back(makeRecording(field, it.label, it.format));
    addRecordings(paths);
    for (const Item& it : kItems) before.push_back(stored(it));
    clearMessages();
    resetUi();
  }
  Recording stored(const Item& it) { return readBack(it.kind, inProject(it.first), inProject(it.second)); }
  std::string bytes(const Item& it) { return readFile(inProject(it.first)) + readFile(inProject(it.second)); }
  static quv::RawData& data(const Item& it) {
    void* obj = nullptr;
    ::GetTreepObj(item(std::string("Site/QUV/Raw Data/") + it.label), &obj);
    return *static_cast<quv::RawObject*>(obj)->data;
  }
  void noLitter() {
    for (const std::string& f : listDir(projDir)) {
      EXPECT_EQ(f.find(".part"), std::string::npos) << f;
      EXPECT_EQ(f.find(".orig"), std::string::npos) << f;
    }
    EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
    EXPECT_EQ(unscripted(), 0) << uiLogText();
    EXPECT_EQ(countOf(uiLogText(), "PROBLEM"), 0) << uiLogText();
  }
  std::vector<Recording> before;
};

constexpr const char* kOrderDlg = "answer dialog \"Define Trace Order/Crop Parameters\" ";
constexpr const char* kResampleDlg = "answer dialog \"Define Trace Time Window/Sample Rate Parameters\" ";

// The record of a recording as an item holds it.
std::unique_ptr<quv::RawData> rawDataOf(int kind, const std::string& path) {
  auto d = std::make_unique<quv::RawData>();
  d->format = kind;
  d->firstPath = d->secondPath = path;
  quv::RecordingShape shape;
  EXPECT_TRUE(quv::readRecordingShape(kind, path, shape) && quv::readRecordingHeader(*d)) << path;
  d->traces = shape.traces;
  d->samples = shape.samples;
  d->firstTime = float(shape.firstTime);
  d->interval = float(shape.interval);
  return d;
}

// GSSI and SEG-Y traces are copied as their stored bytes: the files are
// those the library's decoding and encoding of every trace give, blanks,
// marker words, gain and trace headers and all. A sample a float would
// change makes the copy give way to the library. SEG-2 traces are written
// by the library's writer apart from their pointers.
TEST(TraceBytes, CopiesAreTheFilesTheLibraryWrites) {
  QUV_NEED_FORMAT_LIBRARY();
  ASSERT_TRUE(bindFormatLibraryHere());
  struct Case {
    const char* label;
    int kind, bits;
    bool wideSample;  // trace 20 holds 2^25 + 1
  };
  const Case cases[] = {
      {"GSSI 8-bit", quv::kRawGssi, 8, false},       {"GSSI 16-bit", quv::kRawGssi, 16, false},
      {"GSSI 32-bit", quv::kRawGssi, 32, false},     {"GSSI 32-bit, 2^25 + 1", quv::kRawGssi, 32, true},
      {"SEG-Y 16-bit", quv::kRawSegy, 16, false},    {"SEG-Y float", quv::kRawSegy, 0, false},
      {"SEG-2 16-bit", quv::kRawSeg2, 16, false},    {"SEG-2 float", quv::kRawSeg2, 4, false},
  };
  const std::vector<int> entries = order("!1-3,24-18,11,!21", 24);
  const std::string dir = freshDir("trace_bytes");
  const std::string source = join(dir, "source"), copied = join(dir, "copied"),
                    library = join(dir, "library"), direct = join(dir, "direct");
  for (const Case& c : cases) {
    synth::LineRecipe recipe;
    recipe.traces = 24;
    recipe.samples = 64;
    recipe.markEvery = 10;
    recipe.bits = c.bits;
    const bool gssi = c.kind == quv::kRawGssi;
    const bool seg2 = c.kind == quv::kRawSeg2;
    ASSERT_GE(gssi   ? synth::writeGssi(source, recipe)
              : seg2 ? synth::writeSeg2(source, recipe)
                     : synth::writeSegy(source, recipe),
              0)
        << c.label;
    std::string original = readFile(source);
    if (c.wideSample) {
      const uint32_t v = (1u << 25) + 1;
      for (int b = 0; b < 4; ++b) original[size_t(1024 + 19 * 64 * 4 + 40 + b)] = char(v >> (8 * b));
      writeFile(source, original);
    }
    writeFile(copied, original);
    writeFile(library, original);
    std::string why;
    ASSERT_TRUE(quv::reorderRecording(*rawDataOf(c.kind, copied), entries, why)) << c.label << why;
    ASSERT_TRUE(quv::reorderRecording(*rawDataOf(c.kind, library), entries, why, {}, true))
        << c.label << why;
    const std::string want = readFile(library);
    EXPECT_TRUE(readFile(copied) == want) << c.label;
    if (seg2) {
      // The rewrite puts the traces' pointers in at the end: in the order
      // they were, the file is the one the writers made trace by trace.
      writeFile(copied, original);
      ASSERT_TRUE(quv::reorderRecording(*rawDataOf(c.kind, copied), order("1-24", 24), why))
          << c.label << why;
      EXPECT_TRUE(readFile(copied) == original) << c.label;
      continue;
    }
    // The copy itself, after the header the library wrote.
    const auto d = rawDataOf(c.kind, source);
    const size_t head = gssi ? size_t(GSSI_HEADER_BYTES)
                             : size_t(scrivel::segyFirstTraceOffset(*static_cast<SegyFHdr*>(d->header)));
    writeFile(direct, want.substr(0, head));
    const quv::TraceCopy done = quv::copyTraceBytes(*d, d->header, entries, direct, {}, why);
    EXPECT_EQ(done, c.wideSample ? quv::TraceCopy::NotExact : quv::TraceCopy::Done) << c.label;
    if (!c.wideSample) {
      EXPECT_TRUE(readFile(direct) == want) << c.label;
    }
  }
}

TEST_F(Reshape, ReorderWithBlanksRewritesEveryFormatKeepingTheMarks) {
  const std::string text = "!1-3,24-18,11,!21";
  const std::vector<int> entries = order(text, 24);
  for (const Item& it : kItems) {
    answer(std::string(kOrderDlg) + "expect value grid 1 1 24 expect value grid 1 2 1-24 cell grid 1 2 \"" +
           text + "\" press OK");
    popup(item(rawPath(it.label)), 33125);
    EXPECT_EQ(countOf(messages(), std::string("Reorder: ") + it.label + " " + text + " - Completed"), 1)
        << messages();
  }
  EXPECT_EQ(countOf(messages(), "Batch Start"), 0) << "one item is no batch";
  for (size_t f = 0; f < std::size(kItems); ++f) {
    const Item& it = kItems[f];
    const Recording now = stored(it), &old = before[f];
    ASSERT_EQ(now.traces, int(entries.size())) << it.label;
    ASSERT_EQ(now.samples, old.samples) << it.label;
    EXPECT_EQ(now.interval, old.interval) << it.label;
    EXPECT_EQ(data(it).traces, now.traces) << it.label << ": the item follows";
    // The GSSI marker words stand in the first two samples.
    const int from = it.kind == quv::kRawGssi ? 2 : 0;
    for (size_t i = 0; i < entries.size(); ++i) {
      const int source = std::abs(entries[i]) - 1;
      EXPECT_EQ(now.marked[i], old.marked[size_t(source)]) << it.label << " trace " << i + 1;
      for (int j = from; j < now.samples; ++j)
        ASSERT_EQ(now.s[i][size_t(j)], entries[i] < 0 ? 0.0f : old.s[size_t(source)][size_t(j)])
            << it.label << " trace " << i + 1 << " sample " << j;
    }
  }
  EXPECT_EQ(before[0].marked[10], 1) << "the recordings hold marks to keep";
  noLitter();
}

TEST_F(Reshape, ResampleSelectedFollowsTheRuleInEveryFormat) {
  command(35002);  // select all
  std::string rows;
  for (int r = 1; r <= 5; ++r)
    rows += "cell grid " + std::to_string(r) + " 4 0 cell grid " + std::to_string(r) +
            " 5 100 cell grid " + std::to_string(r) + " 6 0.5 ";
  answer(std::string(kResampleDlg) + "expect value grid 2 0 B.HD expect value grid 2 2 100.00 " +
         "expect value grid 2 3 1.587 " + rows + "press OK");
  command(35008);
  EXPECT_EQ(countOf(messages(), "Batch Start"), 1);
  EXPECT_EQ(countOf(messages(), "Batch End"), 1);
  for (size_t f = 0; f < std::size(kItems); ++f) {
    const Item& it = kItems[f];
    EXPECT_EQ(countOf(messages(), std::string("Resample: ") + it.label +
                                      " 0.000000 100.000000 0.500000 - Completed"),
              1)
        << messages();
    const Recording now = stored(it), &old = before[f];
    const int M = it.kind == quv::kRawGssi ? 256 : 201;
    ASSERT_EQ(now.samples, M) << it.label;
    ASSERT_EQ(now.traces, 24) << it.label;
    EXPECT_NEAR(now.firstTime, 0.0, 1e-6) << it.label;
    EXPECT_NEAR(now.interval, 0.5, 1e-6) << it.label;
    EXPECT_EQ(data(it).samples, M) << it.label << ": the item follows";
    EXPECT_FLOAT_EQ(data(it).interval, 0.5f) << it.label;
    // The item's own axis, as it holds it, into the new one; the formats
    // store whole numbers.
    const float t0 = float(old.firstTime), dt = float(old.interval);
    std::vector<float> want(static_cast<size_t>(M));
    const int from = it.kind == quv::kRawGssi ? 2 : 0;
    for (int i = 0; i < 24; ++i) {
      quv::resampleTrace(old.s[size_t(i)].data(), old.samples, t0, dt, want.data(), M, 0.0, 0.5);
      for (int j = from; j < M; ++j)
        ASSERT_NEAR(now.s[size_t(i)][size_t(j)], want[size_t(j)], 0.51)
            << it.label << " trace " << i + 1 << " sample " << j;
    }
    if (M == 256) {
      EXPECT_EQ(now.s[0][250], 0.0f) << "zero after the old end";
    }
  }
  noLitter();
}

TEST_F(Reshape, RefusalsAndAFailedRewriteLeaveEveryFileAsItWas) {
  std::vector<std::string> was;
  for (const Item& it : kItems) was.push_back(bytes(it));
  // An order that does not parse: named, the dialog stays open.
  answer(std::string(kOrderDlg) + "cell grid 1 2 1-25 press OK press Cancel");
  answer("answer message Warning OK");
  popup(item(rawPath("B.HD")), 33128);
  EXPECT_EQ(countOf(uiLogText(), "Error parsing B.HD."), 1) << uiLogText();
  // A new increment of 0, a start time a RAMAC header cannot hold.
  answer(std::string(kResampleDlg) + "cell grid 1 6 0 press OK press Cancel");
  answer("answer message Warning OK");
  popup(item(rawPath("C.RAD")), 33126);
  EXPECT_EQ(countOf(uiLogText(), "Only positive time increments are allowed"), 1) << uiLogText();
  answer(std::string(kResampleDlg) + "cell grid 1 4 5 press OK press Cancel");
  answer("answer message Warning OK");
  popup(item(rawPath("C.RAD")), 33126);
  EXPECT_EQ(countOf(uiLogText(), "Cannot resample C.RAD: a RAMAC header holds no start time"), 1)
      << uiLogText();
  // The new data file of B.HD, then the new A.DZT, cannot be made.
  for (const char* blocked : {"DT1_B.QUV.part", "DZT_A.QUV.part"})
    std::filesystem::create_directory(inProject(blocked));
  answer(std::string(kOrderDlg) + "press OK");
  popup(item(rawPath("B.HD")), 33127);
  answer(std::string(kResampleDlg) + "cell grid 1 6 0.5 press OK");
  popup(item(rawPath("A.DZT")), 33126);
  EXPECT_EQ(countOf(messages(), "Reorder: B.HD 24-1 - Failed, "), 1) << messages();
  EXPECT_EQ(countOf(messages(), "Resample: A.DZT"), 1) << messages();
  EXPECT_EQ(countOf(messages(), "- Completed"), 0) << messages();
  for (size_t f = 0; f < std::size(kItems); ++f) EXPECT_EQ(bytes(kItems[f]), was[f]) << kItems[f].label;
  EXPECT_EQ(data(kItems[1]).traces, 24);
  EXPECT_EQ(data(kItems[0]).samples, 64);
  for (const char* blocked : {"DT1_B.QUV.part", "DZT_A.QUV.part"})
    std::filesystem::remove(inProject(blocked));
  noLitter();
}

// A pulseEKKO rewrite cut short between its two renames left both old files
// aside and its new data file in place; a RAMAC one cut short after both
// renames left only the old header aside. Opening the project again puts
// the old pulseEKKO recording back and keeps the new RAMAC one.
TEST_F(Reshape, RewritesCutShortArePutRightWhenTheItemsOpenAgain) {
  const Item &b = kItems[1], &c = kItems[2];
  const std::string wasB = bytes(b), nowC = bytes(c);
  const std::string headerB = inProject(b.first), dataB = inProject(b.second);
  std::filesystem::copy_file(headerB, headerB + ".orig");
  std::filesystem::copy_file(dataB, dataB + ".orig");
  writeFile(headerB + ".part", readFile(headerB));
  writeFile(dataB, readFile(dataB).substr(0, 1000));
  std::filesystem::copy_file(inProject(c.first), inProject(c.first) + ".orig");
  closeProject();
  clearMessages();
  openProject(orx);
  EXPECT_TRUE(bytes(b) == wasB);
  EXPECT_TRUE(bytes(c) == nowC);
  EXPECT_EQ(data(b).traces, 24);
  EXPECT_EQ(countOf(messages(), std::string("Restored ") + b.first +
                                    " and its data file as they were before a rewrite that was cut short"),
            1)
      << messages();
  EXPECT_EQ(countOf(messages(), "Restored "), 1) << messages();
  noLitter();
}

TEST_F(Reshape, CropFromTheOpenRawWindowShowsTheNewRecordingInIt) {
  doubleClick(item(rawPath("A.DZT")));
  void* obj = nullptr;
  ::GetTreepObj(item(rawPath("A.DZT")), &obj);
  ASSERT_NE(static_cast<quv::RawObject*>(obj)->window, nullptr);
  answer(std::string(kOrderDlg) + "cell grid 1 2 5-16 press OK");
  command(34004);  // the window's "&Raw" menu: Crop
  EXPECT_EQ(countOf(messages(), "Reorder: A.DZT 5-16 - Completed"), 1) << messages();
  EXPECT_EQ(data(kItems[0]).traces, 12);
  EXPECT_EQ(data(kItems[0]).lastTrace, 11) << "the whole new line is in use";
  EXPECT_NE(static_cast<quv::RawObject*>(obj)->window, nullptr) << "the window shows it again";
  noLitter();
}

TEST_F(Reshape, GssiBeyond2048SamplesKeeps2048AndSaysTheEndTimeWasCut) {
  answer(std::string(kResampleDlg) + "cell grid 1 4 0 cell grid 1 5 2000 cell grid 1 6 0.5 press OK");
  popup(item(rawPath("A.DZT")), 33126);
  EXPECT_EQ(countOf(messages(), "Resample: A.DZT 0.000000 2000.000000 0.500000 - Completed"), 1)
      << messages();
  EXPECT_EQ(countOf(messages(), "so the new end time is 1023.50 instead of 2000.00"), 1) << messages();
  const Recording now = stored(kItems[0]);
  EXPECT_EQ(now.samples, 2048);
  EXPECT_EQ(data(kItems[0]).samples, 2048);
  noLitter();
}

}  // namespace
