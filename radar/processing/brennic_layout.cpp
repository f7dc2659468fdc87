#include "processing/brennic_layout.h"

#include <algorithm>
#include <cstring>

namespace quv::brennic {

namespace {

int32_t int32At(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = v << 8 | uint8_t(b[at + size_t(k)]);
  return int32_t(v);
}
void putInt32(std::string& b, size_t at, int32_t value) {
  const uint32_t v = uint32_t(value);
  for (int k = 0; k < 4; ++k) b[at + size_t(k)] = char(v >> (8 * k) & 0xFF);
}
std::string textAt(const std::string& b, size_t at, size_t size) {
  const char* p = b.data() + at;
  return std::string(p, strnlen(p, size));
}
void putText(std::string& b, size_t at, size_t size, const std::string& text) {
  std::memcpy(&b[at], text.data(), std::min(size, text.size()));
}

// The header's record count, checked against the bytes that follow it.
bool countOf(const std::string& bytes, size_t recordBytes, int32_t& count, std::string& why) {
  if (bytes.size() < kHeaderBytes) {
    why = "the file ends before its 256-byte header";
    return false;
  }
  count = int32At(bytes, kCountAt);
  const size_t room = (bytes.size() - kHeaderBytes) / recordBytes;
  if (count < 0 || size_t(count) > room) {
    why = "its header gives " + std::to_string(count) + " records, the file holds " +
          std::to_string(room);
    return false;
  }
  return true;
}

std::string header(const char* signature, size_t count) {
  std::string b(kHeaderBytes, '\0');
  putText(b, kSignatureAt, kSignatureBytes, signature);
  putInt32(b, kCountAt, int32_t(count));
  return b;
}

}  // namespace

bool decodeProject(const std::string& bytes, std::vector<Line>& lines, std::string& why) {
  lines.clear();
  int32_t count = 0;
  if (!countOf(bytes, kLineRecordBytes, count, why)) return false;
  for (int32_t i = 0; i < count; ++i) {
    const size_t at = kHeaderBytes + size_t(i) * kLineRecordBytes;
    Line l;
    l.number = int32At(bytes, at + kLineNumberAt);
    l.name = textAt(bytes, at + kLineNameAt, kLineNameBytes);
    l.database = textAt(bytes, at + kDatabaseAt, kDatabaseBytes);
    lines.push_back(std::move(l));
  }
  return true;
}

bool decodeDatabase(const std::string& bytes, std::vector<Version>& versions, std::string& why) {
  versions.clear();
  int32_t count = 0;
  if (!countOf(bytes, kVersionRecordBytes, count, why)) return false;
  for (int32_t i = 0; i < count; ++i) {
    const size_t at = kHeaderBytes + size_t(i) * kVersionRecordBytes;
    Version v;
    v.fileName = textAt(bytes, at + kFileNameAt, kFileNameBytes);
    v.extension = textAt(bytes, at + kExtensionAt, kExtensionBytes);
    v.number = textAt(bytes, at + kVersionNumberAt, kVersionNumberBytes);
    v.name = textAt(bytes, at + kVersionNameAt, kVersionNameBytes);
    v.traces = int32At(bytes, at + kTraceCountAt);
    v.depth = uint8_t(bytes[at + kTypeAt]) == kDepthType;
    v.feet = uint8_t(bytes[at + kFeetAt]) == 1;
    versions.push_back(std::move(v));
  }
  return true;
}

std::string encodeProject(const std::vector<Line>& lines) {
  std::string b = header(kProjectSignature, lines.size());
  for (const Line& l : lines) {
    std::string r(kLineRecordBytes, '\0');
    putInt32(r, kLineNumberAt, l.number);
    putText(r, kLineNameAt, kLineNameBytes, l.name);
    putText(r, kDatabaseAt, kDatabaseBytes, l.database);
    b += r;
  }
  return b;
}

std::string encodeDatabase(const std::vector<Version>& versions) {
  std::string b = header(kDatabaseSignature, versions.size());
  for (const Version& v : versions) {
    std::string r(kVersionRecordBytes, '\0');
    putText(r, kFileNameAt, kFileNameBytes, v.fileName);
    putText(r, kExtensionAt, kExtensionBytes, v.extension);
    putText(r, kVersionNumberAt, kVersionNumberBytes, v.number);
    putText(r, kVersionNameAt, kVersionNameBytes, v.name);
    putInt32(r, kTraceCountAt, v.traces);
    r[kTypeAt] = char(v.depth ? kDepthType : 1);
    r[kFeetAt] = char(v.feet ? 1 : 0);
    b += r;
  }
  return b;
}

}  // namespace quv::brennic
