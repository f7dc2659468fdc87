#include "processing/file_header.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dv/ui.h"
#include "processing/recording_rewrite.h"
#include "project/messages.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/tree_items.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"

namespace quv {

namespace {

const char* const kTabs[] = {"Gssi", "Pulse Ekko", "Ramac", "Seg-2", "Seg-Y"};

std::string showInt(long long v) {
  return std::to_string(v);
}
std::string showReal(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", v);
  return text;
}
std::string trimmed(const std::string& s) {
  size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}
// Integer and decimal conversion of what was typed, with the C decimal point
// whatever the locale; text that is not a number gives 0.
long long toInt(const std::string& s) {
  std::string t = trimmed(s);
  long long v = 0;
  const char* p = t.c_str();
  if (*p == '+') ++p;
  std::from_chars(p, t.c_str() + t.size(), v);
  return v;
}
double toReal(const std::string& s) {
  std::string t = trimmed(s);
  double v = 0;
  const char* p = t.c_str();
  if (*p == '+') ++p;
  std::from_chars(p, t.c_str() + t.size(), v);
  return v;
}
// A fixed text field: shown up to its first zero, stored cut to its size.
std::string showText(const char* field, size_t size) {
  return std::string(field, strnlen(field, size));
}
void storeText(char* field, size_t size, const std::string& s) {
  std::memset(field, 0, size);
  std::memcpy(field, s.data(), std::min(size, s.size()));
}
// A SEG-2 value string (malloc'ed, null reads as empty).
void storeString(char*& field, const std::string& s) {
  std::free(field);
  field = strdup(s.c_str());
}

// Rows bound to a record's fields, by type: the value is converted into the
// field's own width when stored.
#define INT_ROW(label, h, f)                                           \
  HeaderRow {                                                          \
    label, [h] { return showInt((long long)h->f); },                   \
        [h](const std::string& s) { h->f = decltype(h->f)(toInt(s)); } \
  }
#define REAL_ROW(label, h, f)                                           \
  HeaderRow {                                                           \
    label, [h] { return showReal(h->f); },                              \
        [h](const std::string& s) { h->f = decltype(h->f)(toReal(s)); } \
  }
#define TEXT_ROW(label, h, f)                                          \
  HeaderRow {                                                          \
    label, [h] { return showText(h->f, sizeof h->f); },                \
        [h](const std::string& s) { storeText(h->f, sizeof h->f, s); } \
  }
#define STRING_ROW(label, h, f)                                                       \
  HeaderRow {                                                                         \
    label, [h] { return std::string(h->f); }, [h](const std::string& s) { h->f = s; } \
  }
#define SEG2_ROW(label, h, f)                               \
  HeaderRow {                                               \
    label, [h] { return std::string(h->f ? h->f : ""); },   \
        [h](const std::string& s) { storeString(h->f, s); } \
  }

std::vector<HeaderRow> gssiPage(GssiFHdr* h) {
  // The creation and modification stamps are shown only.
  HeaderRow cdt{"CDT", [h] { return showInt(h->CDT); }, nullptr};
  HeaderRow mdt{"MDT", [h] { return showInt(h->MDT); }, nullptr};
  return {INT_ROW("Tag", h, Tag),
          INT_ROW("Data", h, Data),
          INT_ROW("NSamp", h, NSamp),
          INT_ROW("Bits", h, Bits),
          INT_ROW("Zero", h, Zero),
          REAL_ROW("SPS", h, SPS),
          REAL_ROW("SPM", h, SPM),
          REAL_ROW("MPM", h, MPM),
          REAL_ROW("Position", h, Position),
          REAL_ROW("Range", h, Range),
          INT_ROW("NPass", h, NPass),
          cdt,
          mdt,
          INT_ROW("NChan", h, NChan),
          REAL_ROW("EPSR", h, EPSR),
          REAL_ROW("Top", h, Top),
          REAL_ROW("Depth", h, Depth),
          TEXT_ROW("Reserved", h, Reserved),
          INT_ROW("SPP", h, SPP),
          INT_ROW("LineNum", h, LineNum),
          INT_ROW("Start X", h, StartX),
          INT_ROW("Start Y", h, StartY),
          INT_ROW("End X", h, EndX),
          INT_ROW("End Y", h, EndY),
          INT_ROW("LineOrder", h, LineOrder),
          INT_ROW("DType", h, DType),
          TEXT_ROW("AntName", h, AntName),
          INT_ROW("ChanMask", h, ChanMask),
          TEXT_ROW("Name", h, Name),
          INT_ROW("ChkSum", h, ChkSum)};
}

std::vector<HeaderRow> pekkoPage(PekkoFHdr* h) {
  return {STRING_ROW("Date", h, date),
          INT_ROW("Number of Traces", h, traces),
          INT_ROW("Number of Pts/Trc", h, points),
          INT_ROW("Timezero at Point", h, timeZeroPoint),
          INT_ROW("Total Time Window", h, timeWindow),
          REAL_ROW("Starting Position", h, startPosition),
          REAL_ROW("Final Position", h, finalPosition),
          REAL_ROW("Step Size Used", h, stepSize),
          STRING_ROW("Position Units", h, positionUnits),
          REAL_ROW("Nominal Frequency", h, frequency),
          REAL_ROW("Antenna Separation", h, antennaSeparation),
          INT_ROW("Pulser Voltage (V)", h, pulserVoltage),
          INT_ROW("Number of Stacks", h, stacks),
          STRING_ROW("Survey Mode", h, surveyMode),
          REAL_ROW("Elevation Data Max", h, elevationMax),
          REAL_ROW("Elevation Data Min", h, elevationMin)};
}

std::vector<HeaderRow> ramacPage(RamacFHdr* h) {
  return {INT_ROW("Samples", h, samples),
          REAL_ROW("Frequency", h, frequency),
          INT_ROW("Frequency Steps", h, frequencySteps),
          REAL_ROW("Signal Position", h, signalPosition),
          INT_ROW("Raw Signal Position", h, rawSignalPosition),
          INT_ROW("Distance Flag", h, distanceFlag),
          INT_ROW("Time Flag", h, timeFlag),
          INT_ROW("Program Flag", h, programFlag),
          INT_ROW("External Flag", h, externalFlag),
          REAL_ROW("Time Interval", h, timeInterval),
          REAL_ROW("Distance Interval", h, distanceInterval),
          STRING_ROW("Operator", h, operatorName),
          STRING_ROW("Customer", h, customer),
          STRING_ROW("Site", h, site),
          STRING_ROW("Antennas", h, antennas),
          STRING_ROW("Antenna Orientation", h, antennaOrientation),
          REAL_ROW("Antenna Separation", h, antennaSeparation),
          STRING_ROW("Comment", h, comment),
          REAL_ROW("Timewindow", h, timeWindow),
          INT_ROW("Stacks", h, stacks),
          INT_ROW("Stack Exponent", h, stackExponent),
          REAL_ROW("Stacking Time", h, stackingTime),
          INT_ROW("Last Trace", h, lastTrace),
          REAL_ROW("Stop Position", h, stopPosition),
          REAL_ROW("System Calibration", h, systemCalibration)};
}

std::vector<HeaderRow> seg2Page(Seg2FHdr* h) {
  return {SEG2_ROW("Acquisition Date", h, acquisitionDate),
          SEG2_ROW("Acquisition Time", h, acquisitionTime),
          SEG2_ROW("Client", h, client),
          SEG2_ROW("Company", h, company),
          SEG2_ROW("General Constant", h, generalConstant),
          SEG2_ROW("Instrument", h, instrument),
          SEG2_ROW("Job ID", h, jobId),
          SEG2_ROW("Observer", h, observer),
          SEG2_ROW("Processing Date", h, processingDate),
          SEG2_ROW("Processing Time", h, processingTime),
          SEG2_ROW("Trace Sort", h, traceSort),
          SEG2_ROW("Units", h, units),
          SEG2_ROW("Note", h, note)};
}

std::vector<HeaderRow> segyPage(SegyFHdr* h) {
  return {INT_ROW("Job ID Number", h, jobId), INT_ROW("Line Number", h, lineNumber),
          INT_ROW("Reel Number", h, reelNumber), INT_ROW("Number of Traces", h, traces),
          INT_ROW("Number of Auxiliary Traces", h, auxTraces),
          INT_ROW("Sample Interval", h, sampleInterval),
          INT_ROW("Original Sample Interval", h, origSampleInterval),
          INT_ROW("Number of Samples", h, samples),
          INT_ROW("Original Number of Samples", h, origSamples),
          INT_ROW("Data Format Code", h, formatCode), INT_ROW("CDP Fold", h, cdpFold),
          INT_ROW("Trace Sorting Code", h, traceSorting),
          INT_ROW("Vertical Sum Code", h, verticalSum),
          INT_ROW("Sweep Frequency Start", h, sweepFreqStart),
          INT_ROW("Sweep Frequency End", h, sweepFreqEnd), INT_ROW("Sweep Length", h, sweepLength),
          INT_ROW("Sweep Type Code", h, sweepType), INT_ROW("Sweep Channel Trace", h, sweepChannel),
          INT_ROW("Sweep Taper Start", h, sweepTaperStart),
          INT_ROW("Sweep Taper End", h, sweepTaperEnd), INT_ROW("Sweep Taper Type", h, taperType),
          INT_ROW("Correlated Data Traces", h, correlatedTraces),
          INT_ROW("Binary Gain Recovered", h, binaryGainRecovered),
          INT_ROW("Amplitude Recovery Method", h, amplitudeRecovery),
          INT_ROW("Measurement System", h, measurementSystem),
          INT_ROW("Impulse Polarity", h, impulsePolarity),
          INT_ROW("Vibratory Polarity", h, vibratoryPolarity),
          // The unassigned rest of the binary header is carried unchanged.
          HeaderRow{"Reserved", [] { return std::string(); }, nullptr}};
}

#undef INT_ROW
#undef REAL_ROW
#undef TEXT_ROW
#undef STRING_ROW
#undef SEG2_ROW

}  // namespace

std::vector<HeaderRow> headerPage(int format, const HeaderRecords& r) {
  switch (format) {
    case kRawGssi:
      return r.gssi ? gssiPage(r.gssi) : std::vector<HeaderRow>{};
    case kRawPekko:
      return r.pekko ? pekkoPage(r.pekko) : std::vector<HeaderRow>{};
    case kRawRamac:
      return r.ramac ? ramacPage(r.ramac) : std::vector<HeaderRow>{};
    case kRawSeg2:
      return r.seg2 ? seg2Page(r.seg2) : std::vector<HeaderRow>{};
    case kRawSegy:
      return r.segy ? segyPage(r.segy) : std::vector<HeaderRow>{};
  }
  return {};
}

CFileHeaderDlg::CFileHeaderDlg(int format, HeaderRecords records)
    : Dialog(IDD, "View File Header", 317, 206), format_(format), records_(records) {
  dv::Control& tabs = add(dv::ControlKind::Tab, IDC_TABS, "", {7, 7, 310, 21});
  if (format < 0) tabs.items.assign(std::begin(kTabs), std::end(kTabs));
  tabs.visible = format < 0;
  addGrid(IDC_GRID, {7, 24, 310, 180});
  addButton(dv::IDOK, "OK", {200, 185, 250, 199}, true);
  addButton(dv::IDCANCEL, "Cancel", {260, 185, 310, 199});
}

void CFileHeaderDlg::fillPage(int format) {
  page_ = format;
  rows_ = headerPage(format, records_);
  dv::GridModel* g = grid(IDC_GRID);
  g->setSize(int(rows_.size()) + 1, 2);
  g->setFixedRows(1);
  g->setFixedCols(0);
  g->setText(0, 0, "Field");
  g->setText(0, 1, "Value");
  g->setEditable(0, 0, false);
  g->setEditable(0, 1, false);
  g->setColWidth(0, 140);
  g->setColWidth(1, 140);
  for (size_t i = 0; i < rows_.size(); ++i) {
    const int r = int(i) + 1;
    g->setText(r, 0, rows_[i].label);
    g->setEditable(r, 0, false);
    g->setText(r, 1, rows_[i].get());
    g->setEditable(r, 1, bool(rows_[i].set));
  }
}

void CFileHeaderDlg::storePage() {
  dv::GridModel* g = grid(IDC_GRID);
  for (size_t i = 0; i < rows_.size() && int(i) + 1 < g->rows(); ++i)
    if (rows_[i].set) rows_[i].set(g->text(int(i) + 1, 1));
}

bool CFileHeaderDlg::onInitDialog() {
  if (format_ < 0) setSelection(IDC_TABS, 0);
  fillPage(format_ < 0 ? kRawGssi : format_);
  return true;
}

void CFileHeaderDlg::onCommand(int id, int notify) {
  if (id == IDC_TABS && notify == dv::TCN_SELCHANGE) {
    const int tab = selection(IDC_TABS);
    if (tab >= 0 && tab < 5 && tab != page_) {
      storePage();
      fillPage(tab);
      changed();
    }
    return;
  }
  Dialog::onCommand(id, notify);
}

void CFileHeaderDlg::onOK() {
  // The page shown is kept too: a user who edits a value and presses OK
  // expects the edit saved.
  storePage();
  endDialog(dv::IDOK);
}

void viewFileHeaderCommand(DvHandle item) {
  RawObject* obj = rawObjectOf(item);
  if (!obj || !obj->data || obj->data->format == kRawUnreadable || treeBad(item)) return;
  RawData& d = *obj->data;
  const std::string name = treeName(item);
  // The traces of whole-file formats are read with the header they were
  // written with, before anything is edited.
  std::vector<RawTraceRecord> traces;
  std::string why;
  const bool wholeFile = d.format == kRawGssi || d.format == kRawSeg2 || d.format == kRawSegy;
  RawData edited;
  edited.format = d.format;
  edited.firstPath = d.firstPath;
  if ((wholeFile && !readRecordingTraces(d, traces, why)) || (!why.empty()) ||
      !readRecordingHeader(edited)) {
    if (why.empty()) why = "its header could not be read";
    msg(DV_MSG_PLAIN, kMsgViewFileHeaderFailed, name.c_str(), why.c_str());
    return;
  }
  HeaderRecords r;
  switch (d.format) {
    case kRawGssi:
      r.gssi = static_cast<GssiFHdr*>(edited.header);
      break;
    case kRawPekko:
      r.pekko = static_cast<PekkoFHdr*>(edited.header);
      break;
    case kRawRamac:
      r.ramac = static_cast<RamacFHdr*>(edited.header);
      break;
    case kRawSeg2:
      r.seg2 = static_cast<Seg2FHdr*>(edited.header);
      break;
    case kRawSegy:
      r.segy = static_cast<SegyFHdr*>(edited.header);
      break;
  }
  CFileHeaderDlg dlg(d.format, r);
  if (dlg.doModal() != dv::IDOK) return;
  if (!rewriteRecording(d, edited.header, traces, why)) {
    dv::messageBox(std::string("The header was not saved: ") + why, "Error",
                   dv::MB_OK | dv::MB_ICONERROR);
    msg(DV_MSG_PLAIN, kMsgViewFileHeaderFailed, name.c_str(), why.c_str());
    return;
  }
  // The item reads its recording again (its window too, at its placement).
  saveRawItem(*obj);
  loadRawItem(*obj);
  msg(DV_MSG_PLAIN, kMsgViewFileHeaderSaved, name.c_str());
}

}  // namespace quv
