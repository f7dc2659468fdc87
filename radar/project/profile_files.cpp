// The byte layouts of a profile's own files: names, encoders, bounds-checked
// decoders and whole-file writers. Nothing here touches the project state.
#include <cstdio>

#include "dv/file.h"
#include "project/profile.h"
#include "project/quv.h"

namespace quv {

char versionLetter(int kind) {
  switch (kind) {
    case kTimeVersion: return 'T';
    case kDepthVersion: return 'D';
    case kElevationVersion: return 'E';
  }
  return '?';
}

std::string versionName(int kind, int number) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%c%02i", versionLetter(kind), number);
  return buf;
}

std::string sampleFileName(int kind, int number, const std::string& fileName) {
  return versionName(kind, number) + "_" + fileName;
}

std::string headerFileName(int kind, int number, const std::string& fileName) {
  return std::string(1, versionLetter(kind)) + versionName(kind, number) + "_" + fileName;
}

// --- profile file ------------------------------------------------------------

static void putPlacement(ByteWriter& w, const WindowPlacement& p) {
  w.u32(p.length), w.u32(p.flags), w.u32(p.showCmd);
  w.i32(p.minX), w.i32(p.minY), w.i32(p.maxX), w.i32(p.maxY);
  w.i32(p.left), w.i32(p.top), w.i32(p.right), w.i32(p.bottom);
}

static bool getPlacement(ByteReader& r, WindowPlacement& p) {
  return r.u32(p.length) && r.u32(p.flags) && r.u32(p.showCmd) && r.i32(p.minX) &&
         r.i32(p.minY) && r.i32(p.maxX) && r.i32(p.maxY) && r.i32(p.left) && r.i32(p.top) &&
         r.i32(p.right) && r.i32(p.bottom);
}

std::string encodeProfileFile(const ProfileFileFields& f) {
  ByteWriter w;
  w.i32(f.stamp), w.i32(f.traceCount), w.i32(f.reserved), w.i32(f.shownVersion);
  w.i32(f.selection1), w.i32(f.selection2), w.i32(f.windowOpen);
  if (f.windowOpen == 1) {
    putPlacement(w, f.window.placement);
    w.f32(f.window.splitRatio), w.i32(f.window.presentationMode), w.i32(f.window.textMode);
  }
  return w.bytes();
}

bool decodeProfileFile(const std::string& bytes, ProfileFileFields& f) {
  ByteReader r(bytes);
  ProfileFileFields t;
  if (!(r.i32(t.stamp) && r.i32(t.traceCount) && r.i32(t.reserved) && r.i32(t.shownVersion) &&
        r.i32(t.selection1) && r.i32(t.selection2) && r.i32(t.windowOpen)))
    return false;
  if (t.windowOpen == 1 && !(getPlacement(r, t.window.placement) && r.f32(t.window.splitRatio) &&
                             r.i32(t.window.presentationMode) && r.i32(t.window.textMode)))
    return false;
  f = t;
  return true;
}

// --- version header file ---------------------------------------------------

float amplitudeScaleFor(float minimum, float maximum) {
  if (minimum == 0 && maximum == 0) return 1.0f;
  return -minimum < maximum ? 127.0f / maximum : -127.0f / minimum;
}

std::string encodeVersionHeader(const ProfileVersion& v, int stamp) {
  ByteWriter w;
  w.i32(stamp), w.i32(v.samples);
  w.f32(v.minimum), w.f32(v.maximum), w.f32(v.amplitudeScale);
  w.f32(v.firstTime), w.f32(v.timeIncrement);
  w.f32(v.firstDepth), w.f32(v.depthIncrement);
  w.f32(v.firstElevation), w.f32(v.elevationIncrement);
  w.i32(v.sourceKind), w.i32(v.sourceNumber);
  // The name with its terminating zero; the length counts the zero.
  w.i32(static_cast<int32_t>(v.name.size() + 1));
  w.raw(v.name.c_str(), v.name.size() + 1);
  writeSettings(w, v.normal);
  writeSettings(w, v.presentation);
  return w.bytes();
}

bool decodeVersionHeader(const std::string& bytes, ProfileVersion& v) {
  ByteReader r(bytes);
  int32_t stamp = 0, samples = 0, sourceKind = 0, sourceNumber = 0, nameLength = 0;
  float f[9];
  if (!(r.i32(stamp) && r.i32(samples))) return false;
  for (float& x : f)
    if (!r.f32(x)) return false;
  if (!(r.i32(sourceKind) && r.i32(sourceNumber) && r.i32(nameLength))) return false;
  if (samples < 0 || nameLength < 1 || static_cast<size_t>(nameLength) > r.remaining())
    return false;
  std::string name(static_cast<size_t>(nameLength), '\0');
  r.raw(name.data(), name.size());
  name.resize(strnlen(name.c_str(), name.size()));  // up to its terminating zero
  DisplaySettings normal, presentation;
  if (!readSettings(r, stamp, normal) || !readSettings(r, stamp, presentation)) return false;
  v.samples = samples;
  v.minimum = f[0], v.maximum = f[1], v.amplitudeScale = f[2];
  v.firstTime = f[3], v.timeIncrement = f[4];
  v.firstDepth = f[5], v.depthIncrement = f[6];
  v.firstElevation = f[7], v.elevationIncrement = f[8];
  v.sourceKind = sourceKind, v.sourceNumber = sourceNumber;
  v.name = std::move(name);
  v.normal = std::move(normal);
  v.presentation = std::move(presentation);
  return true;
}

// --- side files ---------------------------------------------------------------

std::string encodeGeoFile(const ProfileHeader& h, int stamp) {
  ByteWriter w;
  w.i32(stamp), w.f32(h.unitsPerFoot), w.i32(h.nodeCount());
  for (int k = 0; k < h.nodeCount(); ++k)
    w.i32(h.nodeTrace[k]), w.f32(h.nodeEasting[k]), w.f32(h.nodeNorthing[k]);
  return w.bytes();
}

bool decodeGeoFile(const std::string& bytes, ProfileHeader& h) {
  ByteReader r(bytes);
  int32_t stamp = 0, count = 0;
  float units = 0;
  if (!(r.i32(stamp) && r.f32(units) && r.i32(count))) return false;
  // Each node takes 12 bytes: the count must fit in what the file holds.
  if (count < 0 || static_cast<size_t>(count) > r.remaining() / 12) return false;
  std::vector<int32_t> trace(static_cast<size_t>(count));
  std::vector<float> east(trace.size()), north(trace.size());
  for (size_t k = 0; k < trace.size(); ++k)
    if (!(r.i32(trace[k]) && r.f32(east[k]) && r.f32(north[k]))) return false;
  h.unitsPerFoot = units;
  h.nodeTrace = std::move(trace);
  h.nodeEasting = std::move(east);
  h.nodeNorthing = std::move(north);
  return true;
}

std::string encodeXYFile(const ProfileHeader& h, int stamp) {
  ByteWriter w;
  w.i32(stamp);
  for (size_t k = 0; k < h.easting.size() && k < h.northing.size(); ++k)
    w.f32(h.easting[k]), w.f32(h.northing[k]);
  return w.bytes();
}

bool decodeXYFile(const std::string& bytes, ProfileHeader& h) {
  ByteReader r(bytes);
  int32_t stamp = 0;
  if (!r.i32(stamp)) return false;
  if (h.traceCount < 0 || static_cast<size_t>(h.traceCount) > r.remaining() / 8) return false;
  std::vector<float> east(static_cast<size_t>(h.traceCount)), north(east.size());
  for (size_t k = 0; k < east.size(); ++k)
    if (!(r.f32(east[k]) && r.f32(north[k]))) return false;
  h.easting = std::move(east);
  h.northing = std::move(north);
  return true;
}

std::string encodeZFile(const std::vector<float>& elevations, int stamp) {
  ByteWriter w;
  w.i32(stamp);
  for (float z : elevations) w.f32(z);
  return w.bytes();
}

bool decodeZFile(const std::string& bytes, int traceCount, std::vector<float>& elevations) {
  ByteReader r(bytes);
  int32_t stamp = 0;
  if (!r.i32(stamp)) return false;
  if (traceCount < 0 || static_cast<size_t>(traceCount) > r.remaining() / 4) return false;
  std::vector<float> z(static_cast<size_t>(traceCount));
  for (float& x : z)
    if (!r.f32(x)) return false;
  elevations = std::move(z);
  return true;
}

// --- whole-file writers ------------------------------------------------------

bool writeProfileFile(const std::string& path, const ProfileFileFields& f) {
  return dv::writeFileAtomic(path, encodeProfileFile(f));
}

bool writeVersionHeaderFile(const ProfileVersion& v) {
  return dv::writeFileAtomic(v.headerPath, encodeVersionHeader(v, versionStamp()));
}

bool writeGeoFile(const ProfileHeader& h) {
  return dv::writeFileAtomic(h.geoPath, encodeGeoFile(h, versionStamp()));
}

bool writeXYFile(const ProfileHeader& h) {
  return dv::writeFileAtomic(h.xyPath, encodeXYFile(h, versionStamp()));
}

bool writeZFile(const ProfileHeader& h, const std::vector<float>& elevations) {
  return dv::writeFileAtomic(h.zPath, encodeZFile(elevations, versionStamp()));
}

}  // namespace quv
