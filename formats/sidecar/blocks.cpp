// Sidecars of NMEA blocks, each started by a line naming its trace (DZG
// "$GSSIS,<scan>", pulseEKKO "Trace #N"). When the receiver is slower than
// the trace rate, loggers write the last block again byte for byte: such a
// block is no new position and is skipped, so the trace takes its place
// between real fixes.
#include <cstdlib>

#include "sidecar_internal.h"

namespace scrivel::sidecar {

long numberAfter(std::string_view line, std::string_view tag) {
  if (line.substr(0, tag.size()) != tag) return -1;
  std::string rest(line.substr(tag.size()));
  char* end = nullptr;
  long n = std::strtol(rest.c_str(), &end, 10);
  if (end == rest.c_str() || n < 0 || n > 1000000000L) return -1;
  return n;
}

Summary readBlocks(Kind kind, const std::string& bytes, std::string_view tag, int firstNumber) {
  Summary out;
  out.kind = kind;
  std::vector<std::string_view> block, previous;
  long number = -1;
  bool started = false;
  auto flush = [&] {
    const int trace = int(number - firstNumber + 1);
    if (!started) {
      // Sentences before the first block belong to no trace.
      if (!block.empty()) out.skips.push_back({0, kNoPosition});
    } else if (number >= firstNumber) {
      if (!block.empty() && block == previous) {
        out.skips.push_back({trace, kRepeated});
      } else {
        BlockResult r = readNmeaBlock(block, trace, out.skips);
        if (r.found) out.fixes.push_back(r.fix);
        else out.skips.push_back({trace, r.reason});
      }
    }
    previous.swap(block);
    block.clear();
  };
  for (std::string_view line : splitLines(bytes)) {
    if (line.substr(0, tag.size()) == tag) {
      flush();
      started = true;
      number = numberAfter(line, tag);
      if (number < firstNumber) out.skips.push_back({0, kBadRecord});
      continue;
    }
    block.push_back(line);
  }
  flush();
  return out;
}

}  // namespace scrivel::sidecar
