// The names of raw data items and of their stored files.
#include <cctype>

#include "dv/file.h"
#include "project/raw.h"

namespace quv {

std::string fileNameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string recordingTitle(const std::string& name) { return name.substr(0, name.find('.')); }

std::string upperCase(std::string s) {
  for (char& c : s) c = (char)std::toupper((unsigned char)c);
  return s;
}

std::string upperExtension(const std::string& name) {
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? "" : upperCase(name.substr(dot + 1));
}

int formatOfExtension(const std::string& ext) {
  if (ext == "DZT") return kRawGssi;
  if (ext == "HD") return kRawPekko;
  if (ext == "RAD") return kRawRamac;
  if (ext == "SG2" || ext == "DAT") return kRawSeg2;
  if (ext == "SGY") return kRawSegy;
  return kRawUnreadable;
}

int formatOfStoredName(const std::string& n) {
  auto starts = [&](const char* p) { return n.rfind(p, 0) == 0; };
  if (starts("DZT_")) return kRawGssi;
  if (starts("HD_")) return kRawPekko;
  if (starts("RAD_")) return kRawRamac;
  if (starts("SG2_") || starts("DAT_")) return kRawSeg2;
  if (starts("SGY_")) return kRawSegy;
  return kRawUnreadable;
}

std::string storedPrefix(int format) {
  switch (format) {
    case kRawGssi: return "DZT_";
    case kRawPekko: return "HD_";
    case kRawRamac: return "RAD_";
    case kRawSeg2: return "SG2_";
    case kRawSegy: return "SGY_";
  }
  return "";
}

std::string secondPrefix(int format) {
  if (format == kRawPekko) return "DT1_";
  if (format == kRawRamac) return "RD3_";
  return "";
}

bool usableRawName(const std::string& name) {
  if (name.find('"') != std::string::npos || name.find(',') != std::string::npos) return false;
  // The project file keeps names without surrounding blanks.
  if (name.empty() || name.front() == ' ' || name.front() == '\t' || name.back() == ' ' ||
      name.back() == '\t')
    return false;
  // The item file is named from the title; the whole name must also be
  // usable, since a rename builds file names from the new name.
  return dv::isSafeFileName(name) && dv::isSafeFileName("RAW_" + recordingTitle(name) + ".QUV");
}

}  // namespace quv
