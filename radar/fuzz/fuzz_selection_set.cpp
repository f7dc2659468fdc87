// Selection-set files (".sel"): every entry read from a file is written as
// its line and read back the same; a version text the reader names a
// version by reads back as that version.
#include "fuzz_common.h"
#include "project/selection.h"

namespace {

std::string lines(const std::vector<quv::SelectionEntry>& entries) {
  std::string out;
  for (const auto& e : entries) out += quv::selectionSetLine(e.name, e.version.empty() ? nullptr : &e.version);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  const std::string t1 = quv::versionText(0, 1, "Raw"), d2 = quv::versionText(1, 2, "Migrated");
  fuzz::writeSeeds(argc, argv,
                   {{"raw", "// raw data of the north grid\r\n" + quv::selectionSetLine("LINE01", nullptr) +
                                quv::selectionSetLine("Line 02", nullptr) + "\r\n"},
                    {"profiles", quv::selectionSetLine("LINE01", &t1) + "  / comment\n" +
                                     quv::selectionSetLine("LINE02", &d2)}});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<quv::SelectionEntry> read = quv::parseSelectionSet(fuzz::bytesOf(data, size));
  const std::vector<quv::SelectionEntry> back = quv::parseSelectionSet(lines(read));
  fuzz::check(back.size() == read.size(), "selection set lines lost or added on writing");
  for (size_t k = 0; k < read.size(); ++k) {
    fuzz::check(back[k].name == read[k].name && back[k].version == read[k].version,
                "selection set entry changed on writing");
    int kind = -1, number = 0;
    if (!quv::parseVersionText(read[k].version, kind, number)) continue;
    int kind2 = -1, number2 = 0;
    fuzz::check(quv::parseVersionText(quv::versionText(kind, number, ""), kind2, number2) &&
                    kind2 == kind && number2 == number,
                "version text does not name the same version again");
  }
  return 0;
}
