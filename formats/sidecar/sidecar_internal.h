// What the sidecar readers share: lines of text, and the NMEA block reader
// that turns the sentences logged for one trace into at most one fix.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scrivel/sidecar.h"

namespace scrivel::sidecar {

// The non-empty lines of a text, without their ends (LF, CR LF, CR CR LF, CR).
std::vector<std::string_view> splitLines(std::string_view text);
std::string trim(std::string_view s);

// The sentences of one trace's block, in order. The fix is taken from the
// first usable GGA (it carries the altitude), else from the first usable RMC.
// Sentences that fail their checksum or were spliced are added to skips on
// their own; a block that gives no fix leaves `reason` with why.
struct BlockResult {
  bool found = false;
  Fix fix;
  std::string reason;
};
BlockResult readNmeaBlock(const std::vector<std::string_view>& lines, int trace, std::vector<Skip>& skips);

// The number right after tag at the start of line, -1 when there is none.
long numberAfter(std::string_view line, std::string_view tag);
// A sidecar of blocks, each started by a line tag + number, numbers counted
// from firstNumber in the file.
Summary readBlocks(Kind kind, const std::string& bytes, std::string_view tag, int firstNumber);

Summary readDzg(const std::string& bytes);
Summary readPekkoGps(const std::string& bytes);
Summary readRamacCor(const std::string& bytes);
Summary readDzx(const std::string& bytes);
// TOP, TOPO, XYZ and FID: rows of numbers under an optional header line
// naming the columns; XYZ rows are spread over traceCount traces (> 0).
Summary readTable(Kind kind, const std::string& bytes, int traceCount);
Summary readFixFile(const std::string& bytes);
// The table kind a file's first line names ("N,E,Z", "E<tab>N<tab>Z",
// "TRACE,POSITION,..."), or XYZ for a first row of three comma-separated
// numbers; Unknown otherwise.
Kind tableKindOf(const std::string& head);

}  // namespace scrivel::sidecar
