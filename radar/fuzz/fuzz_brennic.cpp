// Brennic project files and line databases: whatever the bytes, the readers
// take only records the file holds, and what they read writes back as the
// same records.
#include "fuzz_common.h"
#include "processing/brennic_layout.h"

namespace brennic = quv::brennic;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::writeSeeds(argc, argv,
                   {{"project", brennic::encodeProject({{1, "LINE1", "LINE1"}, {2, "LINE2", "DB2"}})},
                    {"database", brennic::encodeDatabase({{"L1T", "SGY", "1", "raw", 24, false, false},
                                                          {"L1D", "SGY", "2", "depth", 24, true, true}})}});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = fuzz::bytesOf(data, size);
  std::string why;
  std::vector<brennic::Line> lines, linesBack;
  if (brennic::decodeProject(bytes, lines, why)) {
    fuzz::check(brennic::kHeaderBytes + lines.size() * brennic::kLineRecordBytes <= bytes.size(),
                "more line records read than the file holds");
    fuzz::check(brennic::decodeProject(brennic::encodeProject(lines), linesBack, why) &&
                    linesBack.size() == lines.size(),
                "line records written back do not read back");
    for (size_t i = 0; i < lines.size(); ++i)
      fuzz::check(linesBack[i].name == lines[i].name && linesBack[i].database == lines[i].database,
                  "a line record written back reads differently");
  }
  std::vector<brennic::Version> versions, versionsBack;
  if (brennic::decodeDatabase(bytes, versions, why)) {
    fuzz::check(brennic::kHeaderBytes + versions.size() * brennic::kVersionRecordBytes <= bytes.size(),
                "more version records read than the file holds");
    fuzz::check(brennic::decodeDatabase(brennic::encodeDatabase(versions), versionsBack, why) &&
                    versionsBack.size() == versions.size(),
                "version records written back do not read back");
    for (size_t i = 0; i < versions.size(); ++i)
      fuzz::check(versionsBack[i].label() == versions[i].label() &&
                      versionsBack[i].dataFile() == versions[i].dataFile() &&
                      versionsBack[i].traces == versions[i].traces &&
                      versionsBack[i].depth == versions[i].depth,
                  "a version record written back reads differently");
  }
  return 0;
}
