// "Edit Complex Line Geometry": the nodes of one profile, one grid row each,
// with the segment values on the row of each segment's end node; inserting
// and deleting nodes, the trace limits, and the ".cog" import (through the
// format library's column-order dialog) and export.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "dv/file.h"
#include "dv/ui.h"
#include "processing/geometry.h"
#include "project/quv.h"
#include "project/messages.h"

namespace quv {

namespace {

const std::vector<std::string> kUnitChoices = {"cm", "ft", "in", "m"};

// A node's trace inside 0..N-1; the warning line when it had to be moved.
int limitTrace(long long index, int traces) {
  const long long last = std::max(traces - 1, 0);
  if (index >= 0 && index <= last) return static_cast<int>(index);
  msg(0, kMsgWarningComplexGeometryTraceNumberSetTo);
  return static_cast<int>(index < 0 ? 0 : last);
}

}  // namespace

CComplexGeometryDlg::CComplexGeometryDlg(GeometryLine line, std::string folder)
    : Dialog(321, "Edit Complex Line Geometry", 420, 200),
      line_(std::move(line)),
      folder_(std::move(folder)) {
  addGrid(IDC_GRID, {7, 7, 350, 193});
  addButton(IDC_INSERT, "Insert Node", {358, 7, 413, 21});
  addButton(IDC_DELETE, "Delete Node", {358, 26, 413, 40});
  addButton(IDC_IMPORT, "Import", {358, 45, 413, 59});
  addButton(IDC_EXPORT, "Export", {358, 64, 413, 78});
  addButton(dv::IDOK, "OK", {358, 160, 413, 174}, true);
  addButton(dv::IDCANCEL, "Cancel", {358, 179, 413, 193});
}

bool CComplexGeometryDlg::onInitDialog() {
  sortNodes();
  showAll();
  return true;
}

void CComplexGeometryDlg::showAll() {
  dv::GridModel* g = grid(IDC_GRID);
  const int current = g->currentRow();
  g->setSize(1 + (int)line_.nodes.size(), kCols);
  g->setFixedRows(1);
  g->setFixedCols(0);
  const char* heads[kCols] = {"Profile",  "Trace #",   "Easting", "Northing",
                              "Distance", "Increment", "Angle",   "Units"};
  for (int c = 0; c < kCols; ++c) {
    g->setText(0, c, heads[c]);
    g->setEditable(0, c, false);
  }
  for (size_t k = 0; k < line_.nodes.size(); ++k) {
    const int r = 1 + (int)k;
    const GeoNode& n = line_.nodes[k];
    for (int c = 0; c < kCols; ++c) {
      g->setKind(r, c, dv::GridModel::Text);
      g->setText(r, c, "");
      g->setEditable(r, c, c == kTraceCol || c == kEastCol || c == kNorthCol);
    }
    g->setText(r, kTraceCol, std::to_string(n.trace + 1));
    g->setText(r, kEastCol, numberText("%.2f", n.easting));
    g->setText(r, kNorthCol, numberText("%.2f", n.northing));
    if (k == 0) {
      g->setText(r, kProfileCol, line_.name);
      g->setKind(r, kUnitsCol, dv::GridModel::DropDown);
      g->setChoices(r, kUnitsCol, kUnitChoices);
      g->setText(r, kUnitsCol, unitsName(line_.unitsPerFoot));
      g->setEditable(r, kUnitsCol, true);
    } else {
      const SegmentValues v = segmentValues(line_.nodes[k - 1], n);
      g->setText(r, kDistCol, numberText("%.2f", v.distance));
      g->setText(r, kIncCol, numberText("%.3f", v.increment));
      g->setText(r, kAngleCol, numberText("%.2f", v.angle));
    }
  }
  g->setCurrent(current >= 1 && current < g->rows() ? current : -1);
}

void CComplexGeometryDlg::sortNodes() {
  std::stable_sort(line_.nodes.begin(), line_.nodes.end(),
                   [](const GeoNode& a, const GeoNode& b) { return a.trace < b.trace; });
}

void CComplexGeometryDlg::onGridEdited(int gridId, int row, int col) {
  if (gridId != IDC_GRID || row < 1 || row > (int)line_.nodes.size()) return;
  GeoNode& n = line_.nodes[(size_t)row - 1];
  const std::string text = grid(IDC_GRID)->text(row, col);
  if (col == kTraceCol) {
    n.trace = limitTrace(std::atoll(text.c_str()) - 1, line_.traces);
    sortNodes();
    line_.changed = true;
  } else if (col == kEastCol || col == kNorthCol) {
    double value = 0;
    if (typedNumber(text, value)) {
      (col == kEastCol ? n.easting : n.northing) = value;
      line_.changed = true;
    } else {
      msg(0, kMsgWarningComplexGeometryIsNotANumber, text.c_str());
    }
  } else if (col == kUnitsCol && row == 1) {
    if (unitsFactor(text, line_.unitsPerFoot)) line_.changed = true;
  }
  showAll();
}

void CComplexGeometryDlg::insertNode() {
  auto& nodes = line_.nodes;
  const int row = grid(IDC_GRID)->currentRow();
  // The new node goes after the current one (at the end without one),
  // halfway to the next node when there is one.
  const size_t at = row >= 1 && row <= (int)nodes.size() ? (size_t)row : nodes.size();
  GeoNode n;
  if (at > 0 && at < nodes.size()) {
    const GeoNode& a = nodes[at - 1];
    const GeoNode& b = nodes[at];
    n.trace = a.trace + (b.trace - a.trace) / 2;
    const double f = b.trace != a.trace ? double(n.trace - a.trace) / (b.trace - a.trace) : 0.0;
    n.easting = a.easting + f * (b.easting - a.easting);
    n.northing = a.northing + f * (b.northing - a.northing);
  } else if (at > 0) {
    n = nodes[at - 1];
    n.trace = std::min(n.trace + 1, std::max(line_.traces - 1, 0));
  }
  nodes.insert(nodes.begin() + (long)at, n);
  line_.changed = true;
  showAll();
  grid(IDC_GRID)->setCurrent((int)at + 1);
}

void CComplexGeometryDlg::deleteNode() {
  const int row = grid(IDC_GRID)->currentRow();
  if (row < 1 || row > (int)line_.nodes.size()) return;
  line_.nodes.erase(line_.nodes.begin() + (row - 1));
  line_.changed = true;
  grid(IDC_GRID)->setCurrent(-1);
  showAll();
}

bool importTableText(const std::string& folder, const char* title, const char* missing,
                     const std::vector<const char*>& names, int columns[5], std::string& text) {
  dv::FileDialogRequest req;
  req.title = title;
  req.filters = {{"All Files (*.*)", "*.*"}};
  req.initialDir = folder;
  dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return false;
  const std::string& path = r.paths[0];
  if (!dv::fileExists(path)) {
    dv::messageBox(missing, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return false;
  }
  auto order = scrivel<PfnGetColOrder>(SCRIVEL_GetColOrder);
  if (!order) {
    msg(0, kMsgErrorTheColumnOrderDialogIsNotAvailable, title);
    return false;
  }
  const char* n[5] = {"", "", "", "", ""};
  for (size_t k = 0; k < names.size() && k < 5; ++k) n[k] = names[k];
  for (int k = 0; k < 5; ++k) columns[k] = k + 1;
  if (order(path.c_str(), (int)std::min<size_t>(names.size(), 5), n[0], n[1], n[2], n[3], n[4],
            &columns[0], &columns[1], &columns[2], &columns[3], &columns[4]) != 0)
    return false;
  if (!dv::readWholeFile(path, text)) {
    dv::messageBox(kMsgCouldNotOpenFileForReading, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return false;
  }
  return true;
}

void CComplexGeometryDlg::importCog() {
  int c[5];
  std::string text;
  if (!importTableText(folder_, "Import Complex Geometry...", kMsgTheComplexGeometryFileDoesNotExist,
                       {"Trace", "Easting", "Northing"}, c, text))
    return;
  std::vector<GeoNode> nodes = parseCogText(text, c[0], c[1], c[2]);
  for (GeoNode& n : nodes) n.trace = limitTrace(n.trace, line_.traces);
  line_.nodes = std::move(nodes);
  sortNodes();
  line_.changed = true;
  grid(IDC_GRID)->setCurrent(-1);
  showAll();
}

void exportTableText(const std::string& folder, const char* title, const char* filter,
                     const char* extension, const std::string& text, const char* failure) {
  dv::FileDialogRequest req;
  req.save = true;
  req.title = title;
  req.filters = {{filter, std::string("*.") + extension}};
  req.defaultExt = extension;
  req.initialDir = folder;
  dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return;
  if (!dv::writeFileAtomic(r.paths[0], text))
    dv::messageBox(failure, "Error", dv::MB_OK | dv::MB_ICONERROR);
}

std::string numberText(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

void CComplexGeometryDlg::exportCog() {
  exportTableText(folder_, "Save Complex Geometry...", "Complex Geometry (.cog)", "cog",
                  formatCogFile(line_.nodes), kMsgCouldNotCreateFile);
}

void CComplexGeometryDlg::onCommand(int id, int notify) {
  if (notify != dv::BN_CLICKED) return Dialog::onCommand(id, notify);
  switch (id) {
    case IDC_INSERT: insertNode(); break;
    case IDC_DELETE: deleteNode(); break;
    case IDC_IMPORT: importCog(); break;
    case IDC_EXPORT: exportCog(); break;
    default: return Dialog::onCommand(id, notify);
  }
  changed();
}

void CComplexGeometryDlg::onOK() {
  const auto& nodes = line_.nodes;
  if (nodes.size() < 2) {
    dv::messageBox(kMsgMustHaveAtLeast2ItemsFor, "Warning",
                   dv::MB_OK | dv::MB_ICONWARNING);
    return;
  }
  for (size_t k = 0; k + 1 < nodes.size(); ++k)
    if (nodes[k].trace == nodes[k + 1].trace) {
      dv::messageBox(kMsgNodesWithSameTraceValueAreNot, "Warning",
                     dv::MB_OK | dv::MB_ICONWARNING);
      return;
    }
  if (save) save(line_);
  endDialog(dv::IDOK);
}

}  // namespace quv
