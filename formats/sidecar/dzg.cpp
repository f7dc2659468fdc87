// GSSI .DZG: "$GSSIS,<scan>,<...>" starts the block of one scan (counted
// from 0, so scan N is trace N + 1), the NMEA sentences logged for it follow
// until the next one. The instrument writes no checksum on those lines.
#include "sidecar_internal.h"

namespace scrivel::sidecar {

Summary readDzg(const std::string& bytes) { return readBlocks(Kind::Dzg, bytes, "$GSSIS,", 0); }

}  // namespace scrivel::sidecar
