// View File Header: the header record of a raw data item shown as a table of
// fields and values, one page per format, edited and written back to the
// recording.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/dialog.h"

struct GssiFHdr;
struct PekkoFHdr;
struct RamacFHdr;
struct Seg2FHdr;
struct SegyFHdr;

namespace quv {

// One row of a page: its label, the value as shown, and the conversion
// back into the record (none for rows that are only shown).
struct HeaderRow {
  std::string label;
  std::function<std::string()> get;
  std::function<void(const std::string&)> set;
};

// The five header records a dialog shows (null for formats it does not).
struct HeaderRecords {
  GssiFHdr* gssi = nullptr;
  PekkoFHdr* pekko = nullptr;
  RamacFHdr* ramac = nullptr;
  Seg2FHdr* seg2 = nullptr;
  SegyFHdr* segy = nullptr;
};

// The rows of a format's page (0 GSSI .. 4 SEG-Y), bound to its record;
// empty when the record is null.
std::vector<HeaderRow> headerPage(int format, const HeaderRecords& records);

class CFileHeaderDlg : public dv::Dialog {
 public:
  enum { IDD = 317, IDC_TABS = 20800, IDC_GRID = 20801 };
  // format -1 shows every format's page behind a tab strip, the GSSI page
  // first; a format of 0 to 4 shows only that page, without tabs.
  CFileHeaderDlg(int format, HeaderRecords records);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onOK() override;
  // The page shown (a format index).
  int page() const { return page_; }

 private:
  void fillPage(int format);
  void storePage();
  int format_;
  int page_ = 0;
  HeaderRecords records_;
  std::vector<HeaderRow> rows_;
};

// The raw object command "View File Header": the dialog over a fresh copy
// of the item's header; after OK the edited header is written back to the
// recording (the header file alone for pulseEKKO and RAMAC, the header and
// every trace for GSSI, SEG-2 and SEG-Y) and the item is read again.
void viewFileHeaderCommand(DvHandle rawItem);

}  // namespace quv
