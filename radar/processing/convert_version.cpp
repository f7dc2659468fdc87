// The conversion dialog's rows and grid, the batch over its rows, and the
// writing of one converted version.
#include "processing/convert_version.h"

#include <algorithm>
#include <cstring>

#include "dv/file.h"
#include "dv/ui.h"
#include "processing/create_profile.h"  // AmplitudeRange
#include "project/written_files.h"
#include "project/messages.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/trace_progress.h"
#include "project/tree_items.h"

namespace quv {

void warningBox(const char* text) { dv::messageBox(text, "Warning", dv::MB_OK | dv::MB_ICONWARNING); }
void errorBox(const char* text) { dv::messageBox(text, "Error", dv::MB_OK | dv::MB_ICONERROR); }

// --- rows and dialog --------------------------------------------------------------

std::vector<ConvertRow> convertRows(ProfileItem* single, bool velocities) {
  std::vector<ConvertRow> rows;
  auto add = [&](DvHandle tree) {
    ProfileItem* item = profileOf(tree);
    if (!item || !item->header || treeBad(tree)) return;
    rows.push_back({treeName(tree), tree, velocities ? item->header->velPath : item->header->zPath});
  };
  if (single) {
    add(single->tree);
  } else {
    for (DvHandle it : childItems(profileFolder()))
      if (treeSelected(it)) add(it);
  }
  return rows;
}

ProfileVersion* chosenVersion(ProfileItem& item, int kind) {
  // A profile never given a version (a new one, or one ticked by Select
  // All) holds number 0: its first version of the kind stands in.
  if (item.selection2 == 0 && kind >= 0 && kind < kVersionKinds && !item.versions[kind].empty())
    return item.versions[kind].front().get();
  return findVersion(item, kind, item.selection2);
}

ProfileVersion* rowVersion(ProfileItem& item, bool batch, int kind) {
  ProfileVersion* v = batch ? chosenVersion(item, kind) : nullptr;
  return v ? v : shownVersion(item);
}

CConvertDlg::CConvertDlg(int resourceId, const std::string& caption, const std::string& fileColumn,
                         const std::string& editCaption, int gridId, int editId, int convertId,
                         std::vector<ConvertRow> rows)
    : Dialog(resourceId, caption, 260, 140),
      fileColumn_(fileColumn),
      gridId_(gridId),
      editId_(editId),
      convertId_(convertId),
      rows_(std::move(rows)) {
  addGrid(gridId, {7, 7, 190, 133});
  addButton(editId, editCaption, {198, 7, 253, 21});
  addButton(convertId, "Convert", {198, 100, 253, 114}, true);
  addButton(dv::IDCANCEL, "Cancel", {198, 119, 253, 133});
}

bool CConvertDlg::onInitDialog() {
  dv::GridModel* g = grid(gridId_);
  g->setSize(1 + (int)rows_.size(), 2);
  g->setFixedRows(1);
  g->setFixedCols(0);
  g->setText(0, kProfileCol, "Profile");
  g->setText(0, kFileCol, fileColumn_);
  for (int c = 0; c < 2; ++c) g->setEditable(0, c, false);
  for (size_t k = 0; k < rows_.size(); ++k) showRow(k);
  if (!rows_.empty()) g->setCurrent(1);
  return true;
}

void CConvertDlg::showRow(size_t k) {
  dv::GridModel* g = grid(gridId_);
  const int r = 1 + (int)k;
  g->setText(r, kProfileCol, rows_[k].name);
  g->setText(r, kFileCol, dv::fileExists(rows_[k].sidePath) ? "yes" : "no");
  for (int c = 0; c < 2; ++c) g->setEditable(r, c, false);
}

void CConvertDlg::onGridEdited(int gridId, int row, int) {
  // The cells are not edited: a click (or a script's edit) only picks the row.
  if (gridId == gridId_ && row >= 1 && row <= (int)rows_.size()) showRow((size_t)row - 1);
}

void CConvertDlg::onCommand(int id, int notify) {
  if (notify != dv::BN_CLICKED) return Dialog::onCommand(id, notify);
  if (id == editId_) {
    const int row = grid(gridId_)->currentRow();
    if (row < 1 || row > (int)rows_.size()) return;
    if (edit) edit(rows_[(size_t)row - 1]);
    showRow((size_t)row - 1);
    changed();
    return;
  }
  if (id == convertId_) {
    // The dialog goes before the conversions run, so that their progress
    // and the new versions are not hidden behind it.
    endDialog(dv::IDOK);
    if (convert) convert(rows_);
    return;
  }
  Dialog::onCommand(id, notify);
}

// --- the batch ----------------------------------------------------------------------

void runConversions(const std::vector<ConvertRow>& rows, bool batch, int sourceKind,
                    const char* completed, const char* failed,
                    const std::function<ConvertOutcome(ProfileItem&, ProfileVersion&)>& one) {
  if (batch) {
    msgBare(0, "");
    msg(DV_MSG_TIMESTAMP, kMsgBatchStart);
  }
  for (const ConvertRow& row : rows) {
    ProfileItem* item = profileOf(row.tree);
    // Rows without their side file are skipped without a word.
    if (!item || !item->header || !dv::fileExists(row.sidePath)) continue;
    ProfileVersion* v = nullptr;
    if (!batch) {
      v = shownVersion(*item);
      if (v && v->kind != sourceKind) v = nullptr;
    } else {
      // The version of the source kind with the number chosen when the
      // profile was selected (the Select command keeps kind, then number).
      v = chosenVersion(*item, sourceKind);
    }
    bool ok = true;
    if (v) ok = one(*item, *v) != ConvertOutcome::Failed;
    msg(0, ok ? completed : failed, row.name.c_str());
  }
  if (batch) {
    msg(DV_MSG_TIMESTAMP, kMsgBatchEnd);
    msgBare(0, "");
  }
}

// --- one version ----------------------------------------------------------------------

// The source's traces are marked in use and loaded; those that were not in
// memory before are released again afterwards.
SourceTraces::SourceTraces(ProfileVersion& v) : v_(v), had_(v.buffers.size()) {
  for (size_t i = 0; i < v.buffers.size(); ++i) had_[i] = v.buffers[i] != nullptr;
  std::fill(v.needed.begin(), v.needed.end(), 1);
  loadSamples(v, false);
  std::fill(v.needed.begin(), v.needed.end(), 0);
}

SourceTraces::~SourceTraces() {
  for (size_t i = 0; i < had_.size() && i < v_.buffers.size(); ++i)
    if (!had_[i]) v_.buffers[i].reset();
  dropUnusedMapping(v_);
}

namespace {

void setProgress(int i, int traces) {
  if (auto set = fw<PfnSetProgress>(PONTRA_SetProgress)) traceProgress(i, traces, set);
}

// Writes the converted traces to `path` (through a temporary file renamed
// over it when whole). False when the file could not be made or written.
bool writeConvertedTraces(ProfileVersion& source, const VersionConversion& c,
                          const std::string& path, AmplitudeRange& range) {
  auto create = scrivel<PfnOpenFile>(SCRIVEL_CreateFileForWrite);
  auto write = scrivel<PfnWriteProfileTrace>(SCRIVEL_WriteProfileTrace);
  if (!create || !write) return false;
  const std::string part = path + ".part";
  dv::File out;
  if (create(part.c_str(), &out) < 0) return false;

  const int N = source.traceCount();
  SourceTraces all(source);

  std::vector<float> trace((size_t)std::max(c.samples, 1));
  std::vector<float> zeros((size_t)std::max(source.samples, 1), 0.0f);
  bool ok = true;
  for (int i = 0; ok && i < N; ++i) {
    setProgress(i, N);
    const float* in = i < (int)source.buffers.size() && source.buffers[(size_t)i]
                          ? source.buffers[(size_t)i].get()
                          : zeros.data();
    c.trace(i, in, trace.data());
    range.take(trace.data(), c.samples);
    ok = write(part.c_str(), &out, c.samples, i, trace.data()) == SCRIVEL_OK;
    // Mapped samples already converted give their memory back.
    if (i % 512 == 511) releaseMappedPages(source, i - 511, i + 1);
  }
  ok = ok && out.flush();
  out.close();
  if (ok) ok = dv::renameFile(part, path);
  if (!ok) dv::removeFile(part);
  return ok;
}

}  // namespace

ProfileVersion* convertVersion(ProfileItem& item, ProfileVersion& source,
                               const VersionConversion& c) {
  const std::string profile = treeName(item.tree);
  const int number = newVersionNumber(item, c.kind);
  if (number == 0) {
    msg(0, kMsgErrorAllVersionNumbersTaken, c.command, profile.c_str(), versionLetter(c.kind));
    return nullptr;
  }
  const std::string dir = projectDir();
  const std::string samplePath = dv::joinPath(dir, sampleFileName(c.kind, number, item.fileName));

  AmplitudeRange range;
  bool written = false;
  {
    dv::WaitCursor wait;
    if (auto f = fw<PfnCreateProgress>(PONTRA_CreateProgress)) f(c.progressTitle, "");
    written = writeConvertedTraces(source, c, samplePath, range);
    if (auto f = fw<PfnDestroyProgress>(PONTRA_DestroyProgress)) f();
  }
  // Without its samples there is no version: no header, no object.
  if (!written) {
    msg(0, kMsgErrorCouldNotWrite, samplePath.c_str());
    return nullptr;
  }
  WrittenFiles files;
  files.add(samplePath);

  ProfileVersion made;
  made.kind = c.kind;
  made.number = number;
  made.header = item.header.get();
  made.headerPath = dv::joinPath(dir, headerFileName(c.kind, number, item.fileName));
  made.samples = c.samples;
  made.minimum = range.minimum;
  made.maximum = range.maximum;
  made.amplitudeScale = amplitudeScaleFor(made.minimum, made.maximum);
  made.firstTime = source.firstTime, made.timeIncrement = source.timeIncrement;
  made.firstDepth = source.firstDepth, made.depthIncrement = source.depthIncrement;
  made.firstElevation = source.firstElevation, made.elevationIncrement = source.elevationIncrement;
  made.sourceKind = source.kind;
  made.sourceNumber = source.number;
  // A converted version starts from its source's display settings, shown whole.
  made.normal = source.normal;
  made.presentation = source.presentation;
  setWholeProfile(made.normal, source.traceCount(), c.samples);
  setWholeProfile(made.presentation, source.traceCount(), c.samples);
  if (c.header) c.header(made);
  if (!files.add(writeVersionHeaderFile(made), made.headerPath)) {
    msg(0, kMsgErrorCouldNotOpenForWriting, made.headerPath.c_str());
    return nullptr;
  }

  // The shown version stays shown: its index moves when a version is
  // listed before it.
  ProfileVersion* shown = item.versionList.empty() ? nullptr : shownVersion(item);
  ProfileVersion* v = addVersion(item, dir, c.kind, number);
  if (!v) return nullptr;
  files.keep();
  loadVersionHeader(*v);
  rebuildVersionList(item);
  const auto& list = item.versionList;
  auto at = std::find(list.begin(), list.end(), shown);
  if (at != list.end()) item.shownVersion = int(at - list.begin());
  return v;
}

}  // namespace quv
