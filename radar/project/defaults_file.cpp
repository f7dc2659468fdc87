#include "project/defaults_file.h"

#include "dv/file.h"
#include "project/quv.h"
#include "project/messages.h"

namespace quv {

namespace {

std::unique_ptr<ProjectDefaults>& holder() {
  static std::unique_ptr<ProjectDefaults> d;
  return d;
}

// A defaults file holds two records of a few kilobytes; one much larger is
// not a defaults file and is not read into memory.
constexpr int64_t kMaxDefaultsFileBytes = 16 << 20;

}  // namespace

std::string encodeDefaults(const ProjectDefaults& d, bool withHead, int stamp) {
  ByteWriter w;
  if (withHead) {
    w.i32(kDefaultsHeadMarker);
    w.i32(stamp);
  }
  const DefaultsValues& v = d.values;
  w.i32(v.rawGain), w.i32(v.rawPalette);
  w.f32(v.boxWidth), w.f32(v.boxHeight), w.f32(v.tracesPerUnit), w.f32(v.samplesPerUnit);
  w.f32(v.horizontalScale), w.f32(v.depthScale);
  w.i32(v.horizontalUse), w.i32(v.verticalUse);
  writeSettings(w, d.normal);
  writeSettings(w, d.presentation);
  return w.bytes();
}

bool decodeDefaults(const std::string& bytes, ProjectDefaults& d) {
  ByteReader r(bytes);
  int32_t first = 0, stamp = 0;
  if (!r.i32(first)) return false;
  if (first == kDefaultsHeadMarker) {
    // The stamp is read and not tested; the first value follows it.
    if (!r.i32(stamp) || !r.i32(first)) return false;
  }
  ProjectDefaults t;
  DefaultsValues& v = t.values;
  v.rawGain = first;
  if (!(r.i32(v.rawPalette) && r.f32(v.boxWidth) && r.f32(v.boxHeight) &&
        r.f32(v.tracesPerUnit) && r.f32(v.samplesPerUnit) && r.f32(v.horizontalScale) &&
        r.f32(v.depthScale) && r.i32(v.horizontalUse) && r.i32(v.verticalUse)))
    return false;
  if (!readSettings(r, stamp, t.normal) || !readSettings(r, stamp, t.presentation)) return false;
  d = std::move(t);
  return true;
}

ProjectDefaults* displayDefaults() { return holder().get(); }

ProjectDefaults& createDisplayDefaults() {
  holder() = std::make_unique<ProjectDefaults>();
  return *holder();
}

void deleteDisplayDefaults() { holder().reset(); }

bool readDefaultsFile(const std::string& path, ProjectDefaults& d) {
  int64_t size = dv::fileSize(path);
  if (size < 0 || size > kMaxDefaultsFileBytes) return false;
  std::string bytes;
  if (!dv::readWholeFile(path, bytes)) return false;
  return decodeDefaults(bytes, d);
}

bool loadProjectDefaults(const std::string& projectDir) {
  if (!displayDefaults()) createDisplayDefaults();
  std::string path = dv::joinPath(projectDir, kDefaultsFileName);
  if (projectDir.empty() || !dv::fileExists(path)) return false;
  if (!readDefaultsFile(path, *displayDefaults())) {
    // A damaged defaults file leaves the built-in values in force; the file
    // stays as it is until the defaults are next set.
    msg(0, kMsgWarningCouldNotReadTheDisplayDefaults,
        path.c_str());
    return false;
  }
  return true;
}

bool saveProjectDefaults(const std::string& projectDir, bool withHead) {
  if (!displayDefaults() || projectDir.empty()) return false;
  std::string bytes = encodeDefaults(*displayDefaults(), withHead, versionStamp());
  return dv::writeFileAtomic(dv::joinPath(projectDir, kDefaultsFileName), bytes);
}

}  // namespace quv
