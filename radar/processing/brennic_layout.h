// Brennic projects: the byte layout of the project file (".prj") and of its
// line databases (".LDB"), and their readers and writers. Every number is
// a little-endian integer at a fixed offset; every text is zero-terminated
// inside its field (a text that fills its field has no terminator). The
// layout is described for other writers in docs/brennic-layout.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quv::brennic {

// Both files: a 256-byte header, then fixed-size records.
constexpr size_t kHeaderBytes = 256;
constexpr size_t kSignatureAt = 0, kSignatureBytes = 16;  // text, not checked on reading
constexpr size_t kCountAt = 20;                           // int32: records that follow
constexpr const char* kProjectSignature = "BRENNIC PROJECT";
constexpr const char* kDatabaseSignature = "BRENNIC LINE DB";

// Line record of the project file.
constexpr size_t kLineRecordBytes = 472;
constexpr size_t kLineNumberAt = 0;                       // int32
constexpr size_t kLineNameAt = 104, kLineNameBytes = 64;  // text
constexpr size_t kDatabaseAt = 168, kDatabaseBytes = 64;  // text, without ".LDB"

// Version record of a line database.
constexpr size_t kVersionRecordBytes = 56;
constexpr size_t kFileNameAt = 0, kFileNameBytes = 24;            // text, without the extension
constexpr size_t kExtensionAt = 24, kExtensionBytes = 4;          // text ("SGY")
constexpr size_t kVersionNumberAt = 28, kVersionNumberBytes = 8;  // text
constexpr size_t kVersionNameAt = 36, kVersionNameBytes = 12;     // text
constexpr size_t kTraceCountAt = 48;                              // int32
constexpr size_t kTypeAt = 52;                                    // byte: 2 depth, else time
constexpr size_t kFeetAt = 53;                                    // byte: 1 depth values in feet
constexpr uint8_t kDepthType = 2;

struct Line {
  int32_t number = 0;
  std::string name, database;
};

struct Version {
  std::string fileName, extension, number, name;
  int32_t traces = 0;
  bool depth = false;
  bool feet = false;
  // "number-name", as messages show a version.
  std::string label() const { return number + "-" + name; }
  // The data file's name: file name "." extension.
  std::string dataFile() const { return extension.empty() ? fileName : fileName + "." + extension; }
};

// The readers check the count against the bytes given: a negative count or
// one whose records run past the end fails with the reason, and nothing is
// sized by the count before that.
bool decodeProject(const std::string& bytes, std::vector<Line>& lines, std::string& why);
bool decodeDatabase(const std::string& bytes, std::vector<Version>& versions, std::string& why);
// The writers cut every text to its field.
std::string encodeProject(const std::vector<Line>& lines);
std::string encodeDatabase(const std::vector<Version>& versions);

}  // namespace quv::brennic
