// Create Profile with the project: the name table filled from the tree, one
// profile made per row (trace file, geometry side files, version header and
// profile file, tree item), the batch lines, then the Edit Geometry dialog
// and the display settings of the new versions.
#include <cstdio>

#include "dv/file.h"
#include "dv/ui.h"
#include "processing/create_profile.h"
#include "processing/geometry.h"
#include "processing/positions.h"
#include "project/defaults_file.h"
#include "project/tree_items.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/selection.h"
#include "project/messages.h"
#include "project/resources.h"
#include "project/trace_progress.h"
#include "project/written_files.h"

namespace quv {

namespace {

DvHandle rawItemNamed(const std::string& name) {
  for (DvHandle it : childItems(rawFolder()))
    if (treeName(it) == name) return it;
  return nullptr;
}

std::vector<std::string> childNames(DvHandle folder, bool skipBad) {
  std::vector<std::string> out;
  for (DvHandle it : childItems(folder))
    if (!skipBad || !treeBad(it)) out.push_back(treeName(it));
  return out;
}

void progressTrace(int i, int traces) { showTraceProgress("Trace %i of %i", i, traces); }

const std::string& samplesFile(const RawData& d) {
  return d.format == kRawPekko || d.format == kRawRamac ? d.secondPath : d.firstPath;
}

// Writes the files of a new profile from its converted traces into
// `written`. False when one could not be written.
bool writeProfileFiles(const std::string& dir, const std::string& fileName, const NewProfile& p,
                       WrittenFiles& written) {
  const int N = p.traces;
  ProfileHeader h;
  setSidePaths(h, dir, fileName);
  h.traceCount = N;
  h.unitsPerFoot = p.unitsPerFoot;
  h.nodeTrace = p.nodeTrace;
  h.nodeEasting = p.nodeEasting;
  h.nodeNorthing = p.nodeNorthing;
  h.easting = p.easting;
  h.northing = p.northing;

  ProfileVersion v;
  v.kind = kTimeVersion;
  v.number = 1;
  v.header = &h;
  v.headerPath = dv::joinPath(dir, headerFileName(kTimeVersion, 1, fileName));
  v.samples = p.samples;
  v.minimum = p.range.minimum;
  v.maximum = p.range.maximum;
  v.amplitudeScale = amplitudeScaleFor(v.minimum, v.maximum);
  v.firstTime = p.firstTime;
  v.timeIncrement = p.interval;
  // A version made from raw data starts from the project's display defaults.
  if (const ProjectDefaults* defaults = displayDefaults()) {
    v.normal = defaults->normal;
    v.presentation = defaults->presentation;
  }
  setWholeProfile(v.normal, N, p.samples);
  setWholeProfile(v.presentation, N, p.samples);

  ProfileFileFields f;
  f.stamp = versionStamp();
  f.traceCount = N;
  const std::string prf = dv::joinPath(dir, "PRF_" + fileName);
  const std::pair<bool, const std::string*> writes[] = {
      {writeGeoFile(h), &h.geoPath},
      {writeXYFile(h), &h.xyPath},
      {writeVersionHeaderFile(v), &v.headerPath},
      {writeProfileFile(prf, f), &prf},
  };
  bool ok = true;
  for (const auto& [done, path] : writes)
    if (!written.add(done, *path)) {
      msg(0, kMsgErrorCouldNotOpenForWriting, path->c_str());
      ok = false;
    }
  return ok;
}

// The profile Create Profile makes of a raw item: every trace, on the
// straight line its header gives.
NewProfile profileOfRaw(const RawData& d, const AmplitudeRange& range) {
  const int N = d.traces;
  NewProfile p = newProfileOf(d, N, d.samples, range);
  const StraightLine line = deriveStraightLine(d.format, d.header, N);
  setNodes(p, {{0, line.startEasting, line.startNorthing},
               {std::max(N - 1, 0), line.endEasting, line.endNorthing}});
  interpolateLine(line, N, p.easting, p.northing);
  return p;
}

}  // namespace

NewProfile newProfileOf(const RawData& d, int traces, int samples, const AmplitudeRange& range) {
  NewProfile p;
  p.traces = traces;
  p.samples = samples;
  p.firstTime = d.firstTime;
  p.interval = d.interval;
  p.range = range;
  p.unitsPerFoot = deriveStraightLine(d.format, d.header, d.traces).unitsPerFoot;
  return p;
}

void setNodes(NewProfile& p, const std::vector<GeoNode>& nodes) {
  p.nodeTrace.clear(), p.nodeEasting.clear(), p.nodeNorthing.clear();
  for (const GeoNode& n : nodes) {
    p.nodeTrace.push_back(n.trace);
    p.nodeEasting.push_back(float(n.easting));
    p.nodeNorthing.push_back(float(n.northing));
  }
}

namespace {

// One row: returns the new profile's tree object (null when nothing was made).
DvHandle createOne(const CreateRow& row) {
  DvHandle rawItem = rawItemNamed(row.rawName);
  if (!rawItem) return nullptr;  // not found: skipped silently
  const std::string& name = row.profileName;
  auto* obj = rawObjectOf(rawItem);
  if (!obj || !obj->data || obj->data->format == kRawUnreadable || !obj->data->header) {
    msg(0, kMsgCreateProfileFailed, name.c_str());
    return nullptr;
  }
  const RawData& d = *obj->data;
  const std::string samplePath = newProfileSamplePath(name);
  // A trace file the disk cannot hold is refused before anything is written.
  if (!diskHolds(name, projectDir(), int64_t(d.traces) * d.samples * int64_t(sizeof(float)))) {
    msg(0, kMsgCreateProfileFailed, name.c_str());
    return nullptr;
  }

  ConversionResult converted;
  {
    dv::WaitCursor wait;
    if (auto f = fw<PfnCreateProgress>(PONTRA_CreateProgress))
      f("Converting Raw Data to Profile", "");
    RawTraceSource source;
    source.format = d.format;
    source.header = d.header;
    source.samplesPath = samplesFile(d);
    source.traces = d.traces;
    source.samples = d.samples;
    source.loaded = &d.buffers;
    converted = convertTraces(source, samplePath, progressTrace);
    if (auto f = fw<PfnDestroyProgress>(PONTRA_DestroyProgress)) f();
  }
  if (converted.cancelled) {
    msg(0, kMsgCreateProfileCancelled, name.c_str());
    return nullptr;
  }
  // Without its samples there is no profile: nothing else is written.
  NewProfile made = converted.ok ? profileOfRaw(d, converted.range) : NewProfile();
  PositionRecord onGps;
  const bool placed = converted.ok && row.gpsGeometry && placeRowOnGps(made, d, row, onGps);
  DvHandle tree = converted.ok ? completeNewProfile(name, made) : nullptr;
  if (tree && placed) keepPositionRecord(name + ".QUV", onGps);
  msg(0, tree && !treeBad(tree) ? kMsgCreateProfileCompleted : kMsgCreateProfileFailed,
      name.c_str());
  return tree;
}

// The new version's display settings follow the geometry the user accepted.
void adjustDisplay(DvHandle tree) {
  auto* item = profileOf(tree);
  if (!item || !item->header || treeBad(tree)) return;
  ProfileVersion* v = findVersion(*item, kTimeVersion, 1);
  if (!v || !v->headerValid) return;
  const ProjectDefaults* defaults = displayDefaults();
  adjustNewVersionSettings(*v, *item->header, defaults ? &defaults->values : nullptr);
  computeValueTables(*v);
  if (!writeVersionHeaderFile(*v)) msg(0, kMsgErrorCouldNotOpenForWriting, v->headerPath.c_str());
}

void createRows(const std::vector<CreateRow>& rows) {
  const bool batch = rows.size() > 1;
  if (batch) {
    msgBare(0, "");
    msg(DV_MSG_TIMESTAMP, kMsgBatchStart);
  }
  std::vector<DvHandle> made;
  for (const CreateRow& row : rows) made.push_back(createOne(row));
  if (batch) {
    msg(DV_MSG_TIMESTAMP, kMsgBatchEnd);
    msgBare(0, "");
  }
  std::vector<DvHandle> profiles = childItems(profileFolder());
  if (profiles.empty()) return;
  editGeometryCommand(profiles);
  for (DvHandle tree : made)
    if (tree) adjustDisplay(tree);
}

}  // namespace

// Inserts the tree object of a profile whose files are written and loads it
// (the profile's own load marks it bad when a file is missing).
DvHandle insertNewProfile(const std::string& name, const std::string& fileName) {
  auto insert = fw<PfnInsertTreeObject>(PONTRA_InsertTreeObject);
  auto* item = new ProfileItem;
  DvHandle tree = nullptr;
  if (!insert || profileTypeIndex() < 0 ||
      insert(profileTypeIndex(), name.c_str(), fileName.c_str(), 0, item, &tree) != 0 || !tree) {
    delete item;
    return nullptr;
  }
  item->tree = tree;
  loadProfile(*item);
  if (treeBad(tree)) {
    // Files just written that do not read back make no profile: the tree
    // object goes again (the caller removes the files).
    destroyProfile(item);
    if (auto del = fw<PfnDeleteTreeObject>(PONTRA_DeleteTreeObject)) del(tree);
    return nullptr;
  }
  return tree;
}

void showTraceProgress(const char* format, int i, int traces) {
  if (auto set = fw<PfnSetProgress>(PONTRA_SetProgress)) traceProgress(format, i, traces, set);
}

std::string newProfileSamplePath(const std::string& name) {
  return dv::joinPath(projectDir(), sampleFileName(kTimeVersion, 1, name + ".QUV"));
}

DvHandle completeNewProfile(const std::string& name, const NewProfile& p) {
  const std::string fileName = name + ".QUV";
  WrittenFiles written;
  written.add(newProfileSamplePath(name));
  if (!writeProfileFiles(projectDir(), fileName, p, written)) return nullptr;
  DvHandle tree = insertNewProfile(name, fileName);
  if (tree) written.keep();
  return tree;
}

void createProfilesCommand(DvHandle rawFolderOrNull, DvHandle singleRawItemOrNull) {
  std::vector<CreateRow> rows;
  if (singleRawItemOrNull) {
    if (treeBad(singleRawItemOrNull)) return;
    const std::string name = treeName(singleRawItemOrNull);
    rows.push_back({name, defaultProfileName(name)});
  } else {
    if (batchSelectionCheck(SelectionMode::Raw, false, false) != 0) return;
    DvHandle folder = rawFolderOrNull ? rawFolderOrNull : rawFolder();
    for (DvHandle it : childItems(folder))
      if (!treeBad(it) && treeSelected(it)) {
        const std::string name = treeName(it);
        rows.push_back({name, defaultProfileName(name)});
      }
  }
  CCreateProfileDlg dlg(std::move(rows), childNames(rawFolder(), true),
                        childNames(profileFolder(), false));
  dlg.create = createRows;
  dlg.doModal();
}

}  // namespace quv
