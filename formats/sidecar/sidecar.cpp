// The sidecar kinds, the summary and the checks every kind shares: trace
// numbers rising and within the recording.
#include <algorithm>
#include <cctype>
#include <fstream>

#include "sidecar_internal.h"

namespace scrivel::sidecar {

const char* kindName(Kind k) {
  switch (k) {
    case Kind::Dzg: return "DZG";
    case Kind::PekkoGps: return "GPS";
    case Kind::RamacCor: return "COR";
    case Kind::Dzx: return "DZX";
    case Kind::Top: return "TOP";
    case Kind::Topo: return "TOPO";
    case Kind::Xyz: return "XYZ";
    case Kind::Fid: return "FID";
    case Kind::Fixes: return "FIX";
    default: return "";
  }
}

const std::vector<std::string>& sidecarEndings() {
  static const std::vector<std::string> all = {".DZG",      ".DZX", ".GPS",     ".COR",    "_TOPO.TXT",
                                               ".TOP",      "_GPS.XYZ", ".XYZ", "_FID.TXT"};
  return all;
}

namespace {

Kind kindOfEnding(const std::string& ending) {
  static const std::pair<const char*, Kind> kinds[] = {
      {".DZG", Kind::Dzg},      {".DZX", Kind::Dzx},  {".GPS", Kind::PekkoGps}, {".COR", Kind::RamacCor},
      {"_TOPO.TXT", Kind::Topo}, {".TOP", Kind::Top}, {".XYZ", Kind::Xyz},      {"_FID.TXT", Kind::Fid}};
  for (const auto& [end, kind] : kinds)
    if (ending.size() >= std::string_view(end).size() &&
        ending.compare(ending.size() - std::string_view(end).size(), std::string::npos, end) == 0)
      return kind;
  return Kind::Unknown;
}

}  // namespace

Kind kindOf(const std::string& fileName, const std::string& bytes) {
  const size_t slash = fileName.rfind('/');
  std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
  if (Kind k = kindOfEnding(name); k != Kind::Unknown) return k;
  // A stored copy keeps no extension of its own: its first bytes tell.
  std::string head = trim(std::string_view(bytes).substr(0, 256));
  if (head.rfind("DELVAR fixes", 0) == 0) return Kind::Fixes;
  if (Kind k = tableKindOf(head); k != Kind::Unknown) return k;
  if (head.rfind("$GSSIS", 0) == 0) return Kind::Dzg;
  if (head.rfind("Trace #", 0) == 0) return Kind::PekkoGps;
  if (head.rfind("<?xml", 0) == 0 || head.rfind("<DZX", 0) == 0) return Kind::Dzx;
  // A record: trace number, then the date (YYYY-MM-DD), tab or blank separated.
  size_t gap = head.find_first_of(" \t");
  size_t date = gap == std::string::npos ? gap : head.find_first_not_of(" \t", gap);
  if (!head.empty() && std::isdigit(static_cast<unsigned char>(head[0])) && date != std::string::npos &&
      head.size() > date + 10 && head[date + 4] == '-' && head[date + 7] == '-')
    return Kind::RamacCor;
  return Kind::Unknown;
}

std::map<std::string, int> Summary::skipped() const {
  std::map<std::string, int> m = carried;
  for (const Skip& s : skips) ++m[s.reason];
  return m;
}

int Summary::positioned() const {
  return int(std::count_if(fixes.begin(), fixes.end(), [](const Fix& f) { return f.hasPosition || f.hasProjected; }));
}

Summary readSidecar(Kind k, const std::string& bytes, int traceCount) {
  Summary s;
  switch (k) {
    case Kind::Dzg: s = readDzg(bytes); break;
    case Kind::PekkoGps: s = readPekkoGps(bytes); break;
    case Kind::RamacCor: s = readRamacCor(bytes); break;
    case Kind::Dzx: s = readDzx(bytes); break;
    case Kind::Top:
    case Kind::Topo:
    case Kind::Xyz:
    case Kind::Fid: s = readTable(k, bytes, traceCount); break;
    case Kind::Fixes: s = readFixFile(bytes); break;
    default:
      s.error = "not a position sidecar (.DZG, .DZX, .GPS, .cor, .top, _topo.txt, .xyz or _FID.txt)";
      return s;
  }
  // Geometry needs trace numbers that rise and lie within the recording.
  std::vector<Fix> kept;
  for (const Fix& f : s.fixes) {
    if (traceCount > 0 && f.trace > traceCount) s.skips.push_back({f.trace, kPastEnd});
    else if (!kept.empty() && f.trace <= kept.back().trace) s.skips.push_back({f.trace, kOutOfOrder});
    else kept.push_back(f);
  }
  s.fixes = std::move(kept);
  return s;
}

Summary readSidecarFile(const std::string& path, int traceCount) {
  constexpr std::streamoff kMaxBytes = 64ll << 20;
  std::ifstream in(path, std::ios::binary);
  Summary s;
  if (!in) {
    s.error = "cannot open " + path;
    return s;
  }
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxBytes) {
    s.error = path + " is too large for a position sidecar";
    return s;
  }
  in.seekg(0);
  std::string bytes(size_t(size), '\0');
  if (!in.read(bytes.data(), size)) {
    s.error = "cannot read " + path;
    return s;
  }
  return readSidecar(kindOf(path, bytes), bytes, traceCount);
}

}  // namespace scrivel::sidecar
