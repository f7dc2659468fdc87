#include "processing/brennic_import.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "dv/file.h"
#include "dv/ui.h"
#include "processing/brennic_layout.h"
#include "processing/create_profile.h"
#include "project/written_files.h"
#include "project/defaults_file.h"
#include "project/messages.h"
#include "project/preferences_folders.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/trace_progress.h"
#include "project/tree_items.h"
#include "project/units.h"
#include "scrivel/segy.h"

namespace quv {

namespace {

struct SegyHeaderDeleter {
  void operator()(SegyFHdr* h) const { std::free(h); }
};
using SegyHeader = std::unique_ptr<SegyFHdr, SegyHeaderDeleter>;

// A version of a line that passed its checks.
struct TakenVersion {
  brennic::Version record;
  std::string path;
  SegyHeader header;
};

class Import {
 public:
  explicit Import(std::string folder) : folder_(std::move(folder)) {}
  void line(const brennic::Line& line);
  bool errors() const { return errors_; }

 private:
  template <typename... Args>
  void error(const char* format, Args... args) {
    msg(DV_MSG_PLAIN, format, args...);
    errors_ = true;
  }
  bool nameUsed(const std::string& lineName) const;
  void makeProfile(const std::string& lineName, std::vector<TakenVersion>& versions);
  std::string folder_;
  bool errors_ = false;
  int counter_ = 0;
};

// The upper-case line name and "_" against the start of every profile name.
bool Import::nameUsed(const std::string& lineName) const {
  const std::string prefix = upperCase(lineName) + "_";
  for (DvHandle it : childItems(profileFolder()))
    if (upperCase(treeName(it)).compare(0, prefix.size(), prefix) == 0) return true;
  return false;
}

void Import::line(const brennic::Line& l) {
  const char* lineName = l.name.c_str();
  counter_ = 0;  // the profiles of each line count from 01
  if (nameUsed(l.name)) return error(kMsgBrennicNameUsed, lineName);
  std::string bytes, why;
  std::vector<brennic::Version> records;
  const std::string database = l.database + ".LDB";
  if (!dv::isSafeFileName(database) || !dv::readWholeFile(dv::joinPath(folder_, database), bytes))
    return error(kMsgBrennicNoDatabase, database.c_str(), lineName);
  if (!brennic::decodeDatabase(bytes, records, why) || records.empty())
    return error(kMsgBrennicBadVersionCount, lineName);
  std::vector<TakenVersion> taken;
  auto readHeader = scrivel<PfnReadSegyFHdr>(SCRIVEL_ReadSegyFHdr);
  auto countTraces = scrivel<PfnComputeSegyNumTraces>(SCRIVEL_ComputeSegyNumTraces);
  for (const brennic::Version& v : records) {
    const std::string label = v.label();
    const std::string file = v.dataFile();
    SegyFHdr* h = nullptr;
    if (!dv::isSafeFileName(file) || !readHeader || !countTraces ||
        readHeader(dv::joinPath(folder_, file).c_str(), &h) < 0 || !h) {
      std::free(h);
      error(kMsgBrennicVersionSkipped, lineName, label.c_str());
      continue;
    }
    SegyHeader header(h);
    int count = -1;
    const std::string path = dv::joinPath(folder_, file);
    if (countTraces(path.c_str(), h, &count) < 0 || count != v.traces || count <= 0) {
      error(kMsgBrennicBadTraceCount, lineName, label.c_str());
      continue;
    }
    taken.push_back({v, path, std::move(header)});
  }
  // Versions of one profile share its traces: a version with another trace
  // count than the one before starts a further profile of the line.
  for (size_t a = 0; a < taken.size();) {
    size_t b = a + 1;
    while (b < taken.size() && taken[b].record.traces == taken[a].record.traces) ++b;
    std::vector<TakenVersion> group(std::make_move_iterator(taken.begin() + long(a)),
                                    std::make_move_iterator(taken.begin() + long(b)));
    makeProfile(l.name, group);
    a = b;
  }
}

void Import::makeProfile(const std::string& lineName, std::vector<TakenVersion>& versions) {
  // "%s_%02i" with the next counter whose name is free and usable.
  std::vector<std::string> existing;
  for (DvHandle it : childItems(profileFolder())) existing.push_back(treeName(it));
  std::string name;
  while (++counter_ <= 99) {
    char text[96];
    std::snprintf(text, sizeof text, "%s_%02i", lineName.c_str(), counter_);
    std::vector<std::string> cleaned;
    if (checkProfileNames({text}, existing, &cleaned).empty()) {
      name = cleaned[0];
      break;
    }
  }
  if (name.empty()) {
    error(kMsgBrennicVersionSkipped, lineName.c_str(), versions.front().record.label().c_str());
    return;
  }
  const std::string dir = projectDir(), fileName = name + ".QUV";
  const int N = versions.front().record.traces;
  ProfileHeader h;
  setSidePaths(h, dir, fileName);
  h.traceCount = N;
  const StraightLine line = deriveStraightLine(kRawSegy, versions.front().header.get(), N);
  h.unitsPerFoot = line.unitsPerFoot;
  h.nodeTrace = {0, std::max(N - 1, 0)};
  h.nodeEasting = {line.startEasting, line.endEasting};
  h.nodeNorthing = {line.startNorthing, line.endNorthing};
  interpolateLine(line, N, h.easting, h.northing);

  // A profile is made whole or not at all.
  WrittenFiles written;
  auto keep = [&](bool ok, const std::string& path) {
    if (!written.add(ok, path)) error(kMsgErrorCouldNotOpenForWriting, path.c_str());
    return ok;
  };
  bool ok = keep(writeGeoFile(h), h.geoPath) && keep(writeXYFile(h), h.xyPath);
  int numbers[kVersionKinds] = {0, 0, 0};
  for (TakenVersion& t : versions) {
    if (!ok) break;
    const SegyFHdr& s = *t.header;
    const int kind = t.record.depth ? kDepthVersion : kTimeVersion;
    const int number = ++numbers[kind];
    if (number > kMaxVersionNumber) break;
    RawTraceSource source;
    source.format = kRawSegy;
    source.header = t.header.get();
    source.samplesPath = t.path;
    source.traces = N;
    source.samples = s.samples;
    const std::string samplePath = dv::joinPath(dir, sampleFileName(kind, number, fileName));
    ConversionResult converted = convertTraces(source, samplePath, [](int i, int n) {
      if (auto set = fw<PfnSetProgress>(PONTRA_SetProgress)) traceProgress(i, n, set);
    });
    if (converted.readProblems > 0) errors_ = true;
    if (!keep(converted.ok, samplePath)) {
      ok = false;
      break;
    }
    ProfileVersion v;
    v.kind = kind;
    v.number = number;
    v.header = &h;
    v.headerPath = dv::joinPath(dir, headerFileName(kind, number, fileName));
    v.samples = s.samples;
    v.minimum = converted.range.minimum;
    v.maximum = converted.range.maximum;
    v.amplitudeScale = amplitudeScaleFor(v.minimum, v.maximum);
    v.name = t.record.name;
    if (const ProjectDefaults* defaults = displayDefaults()) {
      v.normal = defaults->normal;
      v.presentation = defaults->presentation;
    }
    setWholeProfile(v.normal, N, s.samples);
    setWholeProfile(v.presentation, N, s.samples);
    if (kind == kTimeVersion) {
      v.timeIncrement = float(s.sampleInterval * 0.001);  // as raw SEG-Y: ns
    } else {
      // A depth version's sample interval counts thousandths of its unit:
      // metres, or feet when the record marks it; kept in feet.
      const double unit = t.record.feet ? 1.0 : kFeetPerMetre;
      v.depthIncrement = float(s.sampleInterval * 0.001 * unit);
      for (DisplaySettings* d : {&v.normal, &v.presentation})
        if (d->vAxisType == 1) d->vAxisType = 2;
    }
    ok = keep(writeVersionHeaderFile(v), v.headerPath);
  }
  ProfileFileFields f;
  f.stamp = versionStamp();
  f.traceCount = N;
  const std::string prf = dv::joinPath(dir, "PRF_" + fileName);
  if (ok) ok = keep(writeProfileFile(prf, f), prf);
  if (!ok || !insertNewProfile(name, fileName)) return;
  written.keep();
  msg(DV_MSG_PLAIN, kMsgImportProfileCompleted, name.c_str());
}

}  // namespace

void importBrennicCommand() {
  dv::FileDialogRequest req;
  req.title = "Import Brennic Project...";
  req.filters = {{"Brennic Projects (.prj)", "*.prj"}};
  req.initialDir = defaultFolders().brennicImport;
  dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return;
  const std::string& path = r.paths[0];
  std::string bytes, why;
  std::vector<brennic::Line> lines;
  if (!dv::readWholeFile(path, bytes)) {
    dv::messageBox(kMsgCouldNotOpenBrennicProject, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return;
  }
  Import import(dv::dirName(path));
  {
    dv::WaitCursor wait;
    if (auto f = fw<PfnCreateProgress>(PONTRA_CreateProgress))
      f("Converting Brennic Line to Profile", "");
    if (!brennic::decodeProject(bytes, lines, why)) {
      msg(DV_MSG_PLAIN, kMsgBrennicBadProject, path.c_str(), why.c_str());
      lines.clear();
    }
    for (const brennic::Line& l : lines) import.line(l);
    if (auto f = fw<PfnDestroyProgress>(PONTRA_DestroyProgress)) f();
  }
  msg(DV_MSG_PLAIN, import.errors() || !why.empty() ? kMsgBrennicImportedSomeErrors
                                                    : kMsgBrennicImportedCompleted);
}

}  // namespace quv
