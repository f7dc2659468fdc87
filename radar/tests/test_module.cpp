// The module's entry and command dispatch: the export list the framework
// binds, the menus, the main-menu mapping, select all, delete selected and
// the commands whose operations arrive later.
#include <cstring>
#include <filesystem>

#include "dv/headless.h"
#include "dv/system.h"
#include "fixture.h"
#include "pontra/pontra.h"
#include "module/dispatch.h"
#include "project/preferences_folders.h"

namespace {

using namespace quvtest;

// The loaded module's own library (the handle the framework holds).
void* quvLibrary() {
  static void* h = dv::loadLibrary(join(DELVAR_BIN_DIR, "libquv.so"));
  return h;
}

template <typename Fn>
Fn quvSymbol(const char* name) {
  return reinterpret_cast<Fn>(dv::findSymbol(quvLibrary(), name));
}

TEST(QuvExports, NameListHasThe39ExportsInSlotOrderAndEveryNameResolves) {
  const char* const expected[] = {
      "GetVantrelModuleInfo", "GetModuleFunctions", "CleanupModule", "InitModule", "QuvFolderCmd",
      "QuvFolderRClick", "QuvGetMenu", "QuvMenuCmd", "QuvProjOpened", "QuvProjClose", "QuvFunc11",
      "QuvFunc12", "QuvFunc13", "QuvFunc14", "QuvFunc15", "QuvFunc16", "QuvFunc17", "QuvFunc18",
      "QuvFunc19", "QuvRawAddFunc", "QuvRawCloseFunc", "QuvRawCmdFunc", "QuvRawCreateFunc",
      "QuvRawDblClickFunc", "QuvRawDelFunc", "QuvRawImportFunc", "QuvRawOpenFunc",
      "QuvRawRClickFunc", "QuvRawRenameFunc", "QuvProfileAddFunc", "QuvProfileCloseFunc",
      "QuvProfileCmdFunc", "QuvProfileCreateFunc", "QuvProfileDblClickFunc", "QuvProfileDelFunc",
      "QuvProfileImportFunc", "QuvProfileOpenFunc", "QuvProfileRClickFunc",
      "QuvProfileRenameFunc"};
  ASSERT_NE(quvLibrary(), nullptr);
  auto getFns = quvSymbol<PfnGetModuleFunctions>("GetModuleFunctions");
  ASSERT_NE(getFns, nullptr);
  const char* const* names = nullptr;
  ASSERT_EQ(getFns(&names), 0);
  size_t n = 0;
  while (names[n] && names[n][0]) ++n;
  ASSERT_EQ(n, 39u);
  for (size_t k = 0; k < n; ++k) {
    EXPECT_STREQ(names[k], expected[k]) << "slot " << k + 1;
    EXPECT_NE(dv::findSymbol(quvLibrary(), names[k]), nullptr) << names[k];
  }
  // Every stub shares one body that does nothing and returns 0.
  void* body = dv::findSymbol(quvLibrary(), "QuvFunc11");
  for (auto stub : {"QuvFunc12", "QuvFunc19", "QuvRawCreateFunc", "QuvRawImportFunc",
                    "QuvProfileAddFunc", "QuvProfileCreateFunc"})
    EXPECT_EQ(dv::findSymbol(quvLibrary(), stub), body) << stub;
  EXPECT_EQ(reinterpret_cast<int (*)()>(body)(), 0);
}

TEST(QuvExports, ModuleInfoIsQuv700Version102) {
  auto info = quvSymbol<PfnGetVantrelModuleInfo>("GetVantrelModuleInfo");
  ASSERT_NE(info, nullptr);
  int id = 0, major = 0, minor = 0;
  const char* name = nullptr;
  EXPECT_EQ(info(&id, &major, &minor, &name), 0);
  EXPECT_EQ(id, 700);
  EXPECT_EQ(major, 1);
  EXPECT_EQ(minor, 2);
  EXPECT_STREQ(name, "QUV");
}

TEST(QuvMenus, MainMenuMappingTable) {
  quv::MenuRoute r;
  using quv::FolderArg;
  struct Row {
    int id, folderCommand;
    FolderArg folder;
  } rows[] = {
      {35000, 33100, FolderArg::None},    {35001, 33101, FolderArg::None},
      {35002, 33102, FolderArg::RawData}, {35003, 33103, FolderArg::RawData},
      {35004, 33104, FolderArg::None},    {35005, 33105, FolderArg::RawData},
      {35006, 33106, FolderArg::RawData}, {35007, 33107, FolderArg::None},
      {35008, 33108, FolderArg::None},    {35009, 33109, FolderArg::None},
      {35010, 33107, FolderArg::None},  // Crop Selected: the same operation as Reorder
      {35011, 33111, FolderArg::None},    {35020, 33200, FolderArg::Profiles},
      {35021, 33201, FolderArg::Profiles}, {35022, 33202, FolderArg::None},
      {35023, 33203, FolderArg::Profiles}, {35024, 33205, FolderArg::None},
      {35025, 33206, FolderArg::None},    {35026, 33207, FolderArg::None},
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(quv::routeMenuCommand(row.id, r)) << row.id;
    EXPECT_EQ(r.folderCommand, row.folderCommand) << row.id;
    EXPECT_EQ(r.folder, row.folder) << row.id;
  }
  for (int id : {35012, 35019, 35027, 35040, 35044, 35099})
    EXPECT_FALSE(quv::routeMenuCommand(id, r)) << id;
}

TEST(QuvFolders, DefaultFoldersComeFromTheSettingsFileOrAreTheHomeFolder) {
  std::string dir = freshDir("ini");
  std::string ini = quv::settingsFilePath(dir);
  EXPECT_EQ(ini, dir + "/INI/DELVAR.INI");
  quv::DefaultFolders none = quv::readDefaultFolders(ini);
  EXPECT_EQ(none.rawData, sandbox()) << "HOME is the sandbox";
  EXPECT_EQ(none.brennicImport, sandbox());
  EXPECT_EQ(none.exportDir, sandbox());
  std::filesystem::create_directories(dir + "/INI");
  std::string longPath = "/data/" + std::string(300, 'p');
  writeFile(ini,
            "[DELVAR_defaults]\r\ndefault_project_directory=/projects\r\n"
            "default_raw_data_directory=/field/raw\r\n"
            "default_export_directory=" + longPath + "\r\n");
  quv::DefaultFolders f = quv::readDefaultFolders(ini);
  EXPECT_EQ(f.rawData, "/field/raw");
  EXPECT_EQ(f.brennicImport, sandbox()) << "an absent key";
  EXPECT_EQ(f.exportDir, longPath.substr(0, 255)) << "at most 255 characters";
}

class Dispatch : public ProjectTest {
 protected:
  std::string raw(const std::string& label) { return rawPath(label); }
  // Three items, one of them bad (its recording cannot be read).
  void addThree() {
    std::string a = makeRecording(field, "A.DZT", "DZT"), b = makeRecording(field, "B.SGY", "SGY");
    writeFile(join(field, "BAD.DZT"), std::string(2000, 'x'));
    addRecordings({a, b, join(field, "BAD.DZT")});
    ASSERT_EQ(childLabels("Site/QUV/Raw Data"), (std::vector<std::string>{"A.DZT", "B.SGY", "BAD.DZT"}));
    clearMessages();
    resetUi();
  }
};

TEST_F(Dispatch, ModulePopupIsInTheMenuBarWhileItsFolderExists) {
  EXPECT_EQ(menuEntry(35000), nullptr) << "no QUV folder yet";
  addRecordings({makeRecording(field, "A.DZT", "DZT")});
  const dv::MenuItem* add = menuEntry(35000);
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add->caption, "&Add Raw Data");
  ASSERT_NE(menuEntry(35044), nullptr);
  EXPECT_EQ(menuEntry(35044)->caption, "&Load Defaults");
  bool captionFound = false;
  for (auto& top : pontra::currentMenuBar()->items()) captionFound |= top.caption == "&0-QUV";
  EXPECT_TRUE(captionFound);
}

TEST_F(Dispatch, FolderPopupsByFolderTextAndNoneForOtherText) {
  addThree();
  auto rclick = quvSymbol<PfnFolderRClick>("QuvFolderRClick");
  ASSERT_NE(rclick, nullptr);
  dv::TreeModel& model = pontra::frame().tree;
  DvHandle tree = &model;
  // The root is the selected item: a chosen folder command reaching it does nothing.
  model.select(item("Site"));
  for (auto [text, id] : {std::pair{"QUV", 33001}, std::pair{"Raw Data", 33102},
                          std::pair{"Profiles", 33200}}) {
    resetUi();
    answer("answer popup " + std::to_string(id));
    rclick(text, 0, 0, tree);
    EXPECT_EQ(countOf(uiLogText(), "(" + std::to_string(id) + ")"), 1) << text << "\n" << uiLogText();
    settle();
  }
  resetUi();
  for (auto text : {"Other", "raw data", "QUV "}) rclick(text, 0, 0, tree);
  EXPECT_EQ(countOf(uiLogText(), "pop-up menu"), 0) << uiLogText();
}

TEST_F(Dispatch, SelectAllLeavesBadItemsUnselectedAndDeselectAllClears) {
  addThree();
  popup(item("Site/QUV/Raw Data"), 33102);
  EXPECT_EQ(isSelected(item(raw("A.DZT"))), 1);
  EXPECT_EQ(isSelected(item(raw("B.SGY"))), formatLibraryLoaded() ? 1 : 0);
  EXPECT_EQ(isSelected(item(raw("BAD.DZT"))), 0);
  EXPECT_EQ(image(item(raw("BAD.DZT"))), 4) << "drawn as bad";
  command(35003);  // main menu Deselect All
  EXPECT_EQ(isSelected(item(raw("A.DZT"))), 0);
  command(35002);  // main menu Select All
  EXPECT_EQ(isSelected(item(raw("A.DZT"))), formatLibraryLoaded() ? 1 : 0);
  EXPECT_EQ(isSelected(item(raw("BAD.DZT"))), 0);
}

TEST_F(Dispatch, DeleteSelectedAsksOnceAndDeletesOnlySelectedItems) {
  QUV_NEED_FORMAT_LIBRARY();
  addThree();
  // Nothing selected: Yes changes nothing and writes nothing.
  auto before = listDir(projDir);
  answer("answer message \"Delete Items?\" Yes");
  command(35005);
  EXPECT_EQ(listDir(projDir), before);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(countOf(uiLogText(), "\"Delete Items?\": \"Delete the selected items?\" -> Yes"), 1);

  popup(item(raw("A.DZT")), 33121);
  popup(item(raw("B.SGY")), 33121);
  answer("answer message \"Delete Items?\" No");
  popup(item("Site/QUV/Raw Data"), 33105);
  EXPECT_EQ(listDir(projDir), before);
  EXPECT_EQ(childLabels("Site/QUV/Raw Data").size(), 3u);

  answer("answer message \"Delete Items?\" Yes");
  popup(item("Site/QUV/Raw Data"), 33105);
  EXPECT_EQ(childLabels("Site/QUV/Raw Data"), std::vector<std::string>{"BAD.DZT"});
  EXPECT_EQ(countOf(messages(), "Raw Data Deleted: A.DZT"), 1);
  EXPECT_EQ(countOf(messages(), "Raw Data Deleted: B.SGY"), 1);
  for (auto f : {"RAW_A.QUV", "DZT_A.QUV", "RAW_B.QUV", "SGY_B.QUV"}) EXPECT_FALSE(exists(inProject(f))) << f;
  EXPECT_TRUE(exists(inProject("RAW_BAD.QUV")));
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(Dispatch, CropAndReorderSelectedRunTheSameOperationAndNeverClaimCompletion) {
  QUV_NEED_FORMAT_LIBRARY();
  addThree();
  popup(item(raw("A.DZT")), 33121);
  clearMessages();
  // Reorder Selected and Crop Selected, from the main menu and from the
  // folder, open the same table of the selected items; Cancel changes nothing.
  const auto before = listDir(projDir);
  for (int id : {35007, 35010, 33110}) {
    answer("answer dialog \"Define Trace Order/Crop Parameters\" expect value grid 1 0 A.DZT "
           "expect value grid 1 2 1-24 press Cancel");
    if (id == 33110)
      popup(item("Site/QUV/Raw Data"), id);
    else
      command(id);
  }
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(listDir(projDir), before);
  EXPECT_EQ(countOf(uiLogText(), "Define Trace Order/Crop Parameters\" ended with Cancel"), 3)
      << uiLogText();
  answer("answer dialog \"Define Trace Time Window/Sample Rate Parameters\" expect value grid 1 0 A.DZT "
         "press Cancel");
  command(35008);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(countOf(uiLogText(), "PROBLEM"), 0) << uiLogText();
  // Print Selected prints the selection as one batch.
  clearMessages();
  answer("answer printer " + join(sandbox(), "selected.pdf"));
  command(35006);
  EXPECT_EQ(countOf(messages(), "Batch Start"), 1) << messages();
  EXPECT_EQ(countOf(messages(), "Print Selected: written to"), 1) << messages() << uiLogText();
  // Rubber sheeting, of the selected items and of one, opens its dialog.
  clearMessages();
  answer("answer dialog \"Rubber Sheet\" expect value grid 1 0 A.DZT press Cancel");
  command(35011);
  answer("answer dialog \"Rubber Sheet\" expect value grid 1 0 A.DZT press Cancel");
  popup(item(raw("A.DZT")), 33130);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(Dispatch, BatchWithNothingSelectedOffersTheSelectionDialogFirst) {
  addThree();
  // Cancel: the batch does not run.
  answer("answer dialog \"Select Raw Data Sets\" press Cancel");
  command(35009);
  EXPECT_EQ(messages(), "");
  // OK with a tick: it runs.
  answer("answer dialog \"Select Raw Data Sets\" cell 20600 1 1 1 press OK");
  answer("answer dialog \"Define Trace Order/Crop Parameters\" expect value grid 1 2 24-1 press Cancel");
  command(35009);
  EXPECT_EQ(countOf(uiLogText(), "PROBLEM"), 0) << uiLogText();
  EXPECT_EQ(isSelected(item(raw("A.DZT"))), 1);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(Dispatch, BatchWithoutItsFolderSaysSo) {
  command(35006);
  EXPECT_EQ(countOf(uiLogText(), "message box \"SelectIfNone\": \"No Profiles Available\""), 1) << uiLogText();
  command(35024);
  EXPECT_EQ(countOf(uiLogText(), "message box \"SelectIfNone\": \"No Profiles Available\""), 2);
  EXPECT_EQ(messages(), "");
}

TEST_F(Dispatch, JoinWithOnlyOneItemIsRefused) {
  QUV_NEED_FORMAT_LIBRARY();
  addRecordings({makeRecording(field, "ONLY.DZT", "DZT")});
  popup(item(raw("ONLY.DZT")), 33129);
  EXPECT_EQ(countOf(uiLogText(), "message box \"Warning\": \"Join with only 1 raw data item not allowed\""), 1)
      << uiLogText();
  addRecordings({makeRecording(field, "SECOND.DZT", "DZT")});
  clearMessages();
  // With two items the Join dialog lists both, the item itself first.
  answer("answer dialog Join expect value grid 1 0 ONLY.DZT expect value grid 2 0 SECOND.DZT press Cancel");
  popup(item(raw("ONLY.DZT")), 33129);
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
  EXPECT_EQ(unscripted(), 0) << uiLogText();
  EXPECT_EQ(messages(), "");
}

TEST_F(Dispatch, ImportListOffersTheBrennicProjectAndCreateOffersNothing) {
  answer("answer dialog #107 select 20004 \"QUV - Brennic Project\" press OK");
  command(32804);
  EXPECT_EQ(countOf(uiLogText(), "has no entry"), 0) << uiLogText();
  answer("answer dialog #105 select 20002 \"QUV - Raw Data\" press OK");
  command(32803);
  EXPECT_EQ(countOf(uiLogText(), "has no entry \"QUV - Raw Data\""), 1) << uiLogText();
}

}  // namespace
