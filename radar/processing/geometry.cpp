// Edit Geometry with the project: the lines of the profiles handed in, the
// complex dialog for one of them, and saving a geometry: GEO_ and XY_
// written whole, the profile's header updated and every version's tables
// recomputed with the new units.
#include "dv/file.h"
#include "processing/geometry.h"
#include "project/tree_items.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/selection.h"
#include "project/messages.h"

namespace quv {

namespace {

GeometryLine lineOf(DvHandle tree, const ProfileItem& p) {
  const ProfileHeader& h = *p.header;
  GeometryLine l = geometryLine(treeName(tree), h.traceCount, h.unitsPerFoot, h.nodeTrace,
                                h.nodeEasting, h.nodeNorthing);
  l.tree = tree;
  return l;
}

// Writes a profile's geometry and takes it into the profile. When a file
// cannot be written the profile keeps its old geometry, in memory and (as
// far as it can be written back) on disk.
bool applyGeometry(ProfileItem& p, float unitsPerFoot, const std::vector<GeoNode>& nodes,
                   std::vector<float> easting, std::vector<float> northing) {
  ProfileHeader& h = *p.header;
  const float oldUnits = h.unitsPerFoot;
  std::vector<int32_t> oldTrace = h.nodeTrace;
  std::vector<float> oldNodeE = h.nodeEasting, oldNodeN = h.nodeNorthing;
  std::vector<float> oldE = h.easting, oldN = h.northing;

  h.unitsPerFoot = unitsPerFoot;
  h.nodeTrace.clear(), h.nodeEasting.clear(), h.nodeNorthing.clear();
  for (const GeoNode& n : nodes) {
    h.nodeTrace.push_back(n.trace);
    h.nodeEasting.push_back(static_cast<float>(n.easting));
    h.nodeNorthing.push_back(static_cast<float>(n.northing));
  }
  h.easting = std::move(easting);
  h.northing = std::move(northing);
  const bool geo = writeGeoFile(h);
  const bool xy = geo && writeXYFile(h);
  if (!geo || !xy) {
    msg(0, kMsgErrorCouldNotOpenForWriting, (geo ? h.xyPath : h.geoPath).c_str());
    h.unitsPerFoot = oldUnits;
    h.nodeTrace = std::move(oldTrace), h.nodeEasting = std::move(oldNodeE);
    h.nodeNorthing = std::move(oldNodeN);
    h.easting = std::move(oldE), h.northing = std::move(oldN);
    if (geo) writeGeoFile(h);
    return false;
  }
  // Depth and elevation tables are kept in the profile's units.
  for (auto& kind : p.versions)
    for (auto& v : kind) computeValueTables(*v);
  return true;
}

void saveStraight(const GeometryLine& l) {
  ProfileItem* p = profileOf(l.tree);
  if (!p || !p->header || l.nodes.size() < 2) return;
  std::vector<float> e, n;
  const GeoNode& s = l.nodes.front();
  const GeoNode& end = l.nodes.back();
  straightLineXY(p->header->traceCount, s, end, e, n);
  applyGeometry(*p, l.unitsPerFoot, {s, end}, std::move(e), std::move(n));
}

bool editComplex(GeometryLine& line, const std::string& folder) {
  ProfileItem* p = profileOf(line.tree);
  if (!p || !p->header) return false;
  CComplexGeometryDlg dlg(line, folder);
  bool saved = false;
  dlg.save = [&](const GeometryLine& l) {
    const int traces = p->header->traceCount;
    std::vector<float> e, n;
    complexLineXY(traces, l.nodes, e, n);
    saved = applyGeometry(*p, l.unitsPerFoot, complexGeoNodes(traces, l.nodes), std::move(e),
                          std::move(n));
  };
  if (dlg.doModal() != dv::IDOK || !saved) return false;
  line = lineOf(line.tree, *p);
  return true;
}

}  // namespace

void editGeometryCommand(const std::vector<DvHandle>& profileItems) {
  std::vector<GeometryLine> lines;
  for (DvHandle tree : profileItems) {
    const ProfileItem* p = profileOf(tree);
    if (p && p->header && !treeBad(tree)) lines.push_back(lineOf(tree, *p));
  }
  const std::string folder = projectDir();
  CGeometryDlg dlg(std::move(lines), folder);
  dlg.editComplex = [&](GeometryLine& l) { return editComplex(l, folder); };
  dlg.save = saveStraight;
  dlg.doModal();
}

void editSelectedGeometriesCommand() {
  if (batchSelectionCheck(SelectionMode::Profiles, false, false) != 0) return;
  std::vector<DvHandle> chosen;
  for (DvHandle it : childItems(profileFolder()))
    if (treeSelected(it)) chosen.push_back(it);
  editGeometryCommand(chosen);
}

}  // namespace quv
