// pulseEKKO .GPS: "Trace #N at position X" starts the block of trace N
// (counted from 1), the NMEA sentences logged for it follow.
#include "sidecar_internal.h"

namespace scrivel::sidecar {

Summary readPekkoGps(const std::string& bytes) { return readBlocks(Kind::PekkoGps, bytes, "Trace #", 1); }

}  // namespace scrivel::sidecar
