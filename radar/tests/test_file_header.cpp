// View File Header: the pages of the five header records, the page switch,
// and the write-back to the recording through the loaded module.
#include <cstring>

#include "fixture.h"
#include "processing/file_header.h"
#include "quv/ids.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"

namespace {

using namespace quvtest;
using quv::CFileHeaderDlg;

int rowOf(CFileHeaderDlg& dlg, const std::string& label) {
  dv::GridModel* g = dlg.grid(CFileHeaderDlg::IDC_GRID);
  for (int r = 1; r < g->rows(); ++r)
    if (g->text(r, 0) == label) return r;
  return -1;
}

void turnTo(CFileHeaderDlg& dlg, int tab) {
  dlg.setSelection(CFileHeaderDlg::IDC_TABS, tab);
  dlg.onCommand(CFileHeaderDlg::IDC_TABS, dv::TCN_SELCHANGE);
}

TEST(FileHeaderPages, EveryPageHasItsRowsAndASwitchKeepsTheEditsOfThePageLeft) {
  GssiFHdr gssi{};
  PekkoFHdr pekko;
  RamacFHdr ramac;
  Seg2FHdr seg2{};
  SegyFHdr segy{};
  quv::HeaderRecords r{&gssi, &pekko, &ramac, &seg2, &segy};
  const size_t rows[] = {30, 16, 25, 13, 28};
  for (int f = 0; f < 5; ++f) EXPECT_EQ(quv::headerPage(f, r).size(), rows[f]) << f;

  CFileHeaderDlg dlg(-1, r);
  ASSERT_TRUE(dlg.onInitDialog());
  EXPECT_TRUE(dlg.control(CFileHeaderDlg::IDC_TABS)->visible);
  EXPECT_EQ(dlg.page(), 0);
  dv::GridModel* g = dlg.grid(CFileHeaderDlg::IDC_GRID);
  // The creation stamp is shown, never stored back.
  gssi.CDT = 12345;
  turnTo(dlg, 2);
  turnTo(dlg, 0);
  g->setText(rowOf(dlg, "CDT"), 1, "1");
  g->setText(rowOf(dlg, "SPM"), 1, "2.5");
  turnTo(dlg, 2);
  EXPECT_EQ(gssi.CDT, 12345u);
  EXPECT_FLOAT_EQ(gssi.SPM, 2.5f);

  g->setText(rowOf(dlg, "Operator"), 1, "Ann");
  g->setText(rowOf(dlg, "Samples"), 1, "512");
  turnTo(dlg, 4);
  EXPECT_EQ(dlg.page(), 4);
  EXPECT_EQ(g->text(rowOf(dlg, "Line Number"), 1), "0");
  turnTo(dlg, 2);
  EXPECT_EQ(g->text(rowOf(dlg, "Operator"), 1), "Ann");
  EXPECT_EQ(g->text(rowOf(dlg, "Samples"), 1), "512");
  EXPECT_EQ(ramac.operatorName, "Ann");

  // Texts are cut to their field; a value is converted into the field's width.
  turnTo(dlg, 0);
  g->setText(rowOf(dlg, "AntName"), 1, "a name far longer than fourteen");
  g->setText(rowOf(dlg, "NSamp"), 1, "70000");
  dlg.onOK();
  EXPECT_EQ(std::string(gssi.AntName, sizeof gssi.AntName), "a name far lon");
  EXPECT_EQ(gssi.NSamp, uint16_t(70000));
  std::free(seg2.client);
}

TEST(FileHeaderPages, OneFormatShowsOnlyItsPageAndOkKeepsTheEditShown) {
  SegyFHdr segy{};
  CFileHeaderDlg dlg(4, {nullptr, nullptr, nullptr, nullptr, &segy});
  dlg.onInitDialog();
  EXPECT_FALSE(dlg.control(CFileHeaderDlg::IDC_TABS)->visible);
  dlg.grid(CFileHeaderDlg::IDC_GRID)->setText(rowOf(dlg, "Line Number"), 1, " 4711 ");
  dlg.onOK();
  EXPECT_EQ(segy.lineNumber, 4711);
}

class FileHeader : public ProjectTest {
 protected:
  // Adds a synthetic recording and answers the dialog with `actions`.
  std::string edit(const std::string& file, const std::string& format, const std::string& actions) {
    addRecordings({makeRecording(field, file, format)});
    answer("answer dialog \"View File Header\" " + actions);
    popup(item(rawPath(file)), quv::ID_RAWOBJ_FILE_HEADER);
    return rawPath(file);
  }
  static std::string cell(int row, const std::string& text) {
    return "cell 20801 " + std::to_string(row) + " 1 \"" + text + "\" ";
  }
};

TEST_F(FileHeader, AnEditedFieldOfEveryFormatReachesTheRecording) {
  QUV_NEED_FORMAT_LIBRARY();
  const std::string dataBefore = [&] {
    addRecordings({makeRecording(field, "A.DZT", "DZT")});
    return readFile(inProject("DZT_A.QUV"));
  }();
  answer("answer dialog \"View File Header\" " + cell(20, "77") + "press OK");
  popup(item(rawPath("A.DZT")), quv::ID_RAWOBJ_FILE_HEADER);
  std::string dzt = readFile(inProject("DZT_A.QUV"));
  ASSERT_EQ(dzt.size(), dataBefore.size());
  EXPECT_EQ(uint8_t(dzt[86]) | uint8_t(dzt[87]) << 8, 77) << "LineNum at offset 86";
  EXPECT_EQ(dzt.substr(1024), dataBefore.substr(1024)) << "the traces are written back unchanged";

  edit("B.HD", "HD", cell(14, "Moving") + "press OK");
  EXPECT_NE(readFile(inProject("HD_B.QUV")).find("Moving"), std::string::npos);
  edit("C.RAD", "RAD", cell(12, "Ann") + "press OK");
  EXPECT_NE(readFile(inProject("RAD_C.QUV")).find("OPERATOR:Ann"), std::string::npos);
  edit("D.SG2", "SG2", cell(3, " Survey Co") + "press OK");
  EXPECT_NE(readFile(inProject("SG2_D.QUV")).find("CLIENT Survey Co"), std::string::npos);
  edit("E.SGY", "SGY", cell(2, "4711") + "press OK");
  std::string sgy = readFile(inProject("SGY_E.QUV"));
  const auto* b = reinterpret_cast<const unsigned char*>(sgy.data()) + 3204;
  const uint32_t big = uint32_t(b[0]) << 24 | b[1] << 16 | b[2] << 8 | b[3];
  const uint32_t little = uint32_t(b[3]) << 24 | b[2] << 16 | b[1] << 8 | b[0];
  EXPECT_TRUE(big == 4711 || little == 4711);

  for (auto label : {"A.DZT", "B.HD", "C.RAD", "D.SG2", "E.SGY"}) {
    EXPECT_EQ(isBad(item(rawPath(label))), 0) << label << "\n" << messages();
    EXPECT_EQ(countOf(messages(), std::string("View File Header: ") + label + " - Saved"), 1);
  }
  for (const std::string& f : listDir(projDir)) EXPECT_EQ(f.find(".part"), std::string::npos) << f;
}

TEST_F(FileHeader, CancelAndARefusedValueWriteNothing) {
  QUV_NEED_FORMAT_LIBRARY();
  addRecordings({makeRecording(field, "A.DZT", "DZT"), makeRecording(field, "B.HD", "HD")});
  const std::string dzt = readFile(inProject("DZT_A.QUV")), hd = readFile(inProject("HD_B.QUV"));
  answer("answer dialog \"View File Header\" " + cell(20, "77") + "press Cancel");
  popup(item(rawPath("A.DZT")), quv::ID_RAWOBJ_FILE_HEADER);
  // More samples per trace than the traces hold, and more traces than the
  // data file holds: both refused, the recordings untouched.
  answer("answer dialog \"View File Header\" " + cell(3, "4096") + "press OK");
  answer("answer message Error OK");
  popup(item(rawPath("A.DZT")), quv::ID_RAWOBJ_FILE_HEADER);
  answer("answer dialog \"View File Header\" " + cell(2, "100000") + "press OK");
  answer("answer message Error OK");
  popup(item(rawPath("B.HD")), quv::ID_RAWOBJ_FILE_HEADER);
  EXPECT_EQ(readFile(inProject("DZT_A.QUV")), dzt);
  EXPECT_EQ(readFile(inProject("HD_B.QUV")), hd);
  EXPECT_EQ(countOf(messages(), "- Not saved"), 2) << messages();
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
  EXPECT_EQ(unscripted(), 0) << uiLogText();
  for (const std::string& f : listDir(projDir)) EXPECT_EQ(f.find(".part"), std::string::npos) << f;
}

}  // namespace
