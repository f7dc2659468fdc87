// NMEA 0183 sentences: checksums, GGA / RMC positions, the block of
// sentences logged for one trace.
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "sidecar_internal.h"

namespace scrivel::sidecar {

const char* const kBadChecksum = "bad checksum";
const char* const kLeftOut = "trace left out by a new order";
const char* const kNoChecksum = "no checksum";
const char* const kSpliced = "spliced sentence";
const char* const kEmptyGga = "empty GGA";
const char* const kNoFix = "no fix (quality 0)";
const char* const kVoidRmc = "void RMC";
const char* const kNoPosition = "no position sentence";
const char* const kRepeated = "repeated block";
const char* const kPastEnd = "past the end of the recording";
const char* const kOutOfOrder = "trace out of order";
const char* const kBadRecord = "unreadable record";

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i)
    if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
      if (i > start) lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  return lines;
}

std::string trim(std::string_view s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return std::string(s.substr(a, b - a));
}

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool number(const std::string& s, double& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  out = std::strtod(s.c_str(), &end);
  return end && *end == 0 && std::isfinite(out);
}

}  // namespace

bool parseNmea(const std::string& sentence, Nmea& out, std::string& reason) {
  std::string s = trim(sentence);
  if (s.size() < 2 || s[0] != '$') {
    reason = kBadRecord;
    return false;
  }
  size_t star = s.rfind('*');
  if (star == std::string::npos) {
    reason = kNoChecksum;
    return false;
  }
  if (star + 3 != s.size() || hexDigit(s[star + 1]) < 0 || hexDigit(s[star + 2]) < 0) {
    reason = kBadChecksum;
    return false;
  }
  unsigned sum = 0;
  for (size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(s[i]);
  if (sum != unsigned(hexDigit(s[star + 1]) * 16 + hexDigit(s[star + 2]))) {
    reason = kBadChecksum;
    return false;
  }
  std::vector<std::string> fields;
  size_t start = 1;
  for (size_t i = 1; i <= star; ++i)
    if (i == star || s[i] == ',') {
      fields.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  const std::string& address = fields[0];
  out.type = address.size() >= 3 ? address.substr(address.size() - 3) : address;
  fields.erase(fields.begin());
  out.fields = std::move(fields);
  return true;
}

bool parseCoordinate(const std::string& value, const std::string& hemi, bool longitude, double& out) {
  double v = 0;
  if (!number(value, v) || v < 0) return false;
  size_t point = value.find('.');
  size_t whole = point == std::string::npos ? value.size() : point;
  double degrees = v;
  if (whole >= (longitude ? 5u : 4u)) {
    double d = std::floor(v / 100), minutes = v - d * 100;
    if (minutes >= 60) return false;
    degrees = d + minutes / 60;
  }
  if (degrees > (longitude ? 180 : 90)) return false;
  if (hemi == "S" || hemi == "W") degrees = -degrees;
  else if (!hemi.empty() && hemi != "N" && hemi != "E") return false;
  out = degrees;
  return true;
}

bool fixFromSentence(const Nmea& s, Fix& fix, std::string& reason) {
  const auto& f = s.fields;
  auto field = [&](size_t i) { return i < f.size() ? f[i] : std::string(); };
  if (s.type == "GGA") {
    // time, lat, N/S, lon, E/W, quality, satellites, HDOP, altitude, M, ...
    if (field(1).empty() || field(3).empty()) {
      reason = kEmptyGga;
      return false;
    }
    double q = 0;
    if (!number(field(5), q) || q == 0) {
      reason = kNoFix;
      return false;
    }
    if (!parseCoordinate(field(1), field(2), false, fix.lat) ||
        !parseCoordinate(field(3), field(4), true, fix.lon)) {
      reason = kBadRecord;
      return false;
    }
    fix.hasPosition = true;
    double alt = 0;
    fix.hasElevation = number(field(8), alt);
    fix.elevation = fix.hasElevation ? alt : 0;
    return true;
  }
  if (s.type == "RMC") {
    // time, status, lat, N/S, lon, E/W, ...
    if (field(1) != "A") {
      reason = kVoidRmc;
      return false;
    }
    if (!parseCoordinate(field(2), field(3), false, fix.lat) ||
        !parseCoordinate(field(4), field(5), true, fix.lon)) {
      reason = kBadRecord;
      return false;
    }
    fix.hasPosition = true;
    fix.hasElevation = false;
    return true;
  }
  reason = kNoPosition;
  return false;
}

BlockResult readNmeaBlock(const std::vector<std::string_view>& lines, int trace, std::vector<Skip>& skips) {
  BlockResult r;
  std::string ggaReason, rmcReason;
  Fix rmc;
  bool haveRmc = false;
  for (std::string_view line : lines) {
    // A logger that lost an end of line leaves two sentences on one line:
    // each "$" starts one, and the cut one fails on its own.
    std::vector<std::string> parts;
    for (size_t at = line.find('$'); at != std::string_view::npos;) {
      size_t next = line.find('$', at + 1);
      parts.push_back(std::string(line.substr(at, next == std::string_view::npos ? next : next - at)));
      at = next;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
      Nmea s;
      std::string why;
      if (!parseNmea(parts[i], s, why)) {
        skips.push_back({trace, parts.size() > 1 && why == kNoChecksum ? kSpliced : why});
        continue;
      }
      Fix fix;
      fix.trace = trace;
      if (s.type == "GGA" && !r.found) {
        if (fixFromSentence(s, fix, why)) {
          r.found = true;
          r.fix = fix;
        } else if (ggaReason.empty()) {
          ggaReason = why;
        }
      } else if (s.type == "RMC" && !haveRmc) {
        if (fixFromSentence(s, fix, why)) {
          haveRmc = true;
          rmc = fix;
        } else if (rmcReason.empty()) {
          rmcReason = why;
        }
      }
    }
  }
  if (!r.found && haveRmc) {
    r.found = true;
    r.fix = rmc;
  }
  if (!r.found) r.reason = !ggaReason.empty() ? ggaReason : !rmcReason.empty() ? rmcReason : kNoPosition;
  return r;
}

}  // namespace scrivel::sidecar
