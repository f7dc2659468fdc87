// seeds: pekko
// Fuzz target: the readers of other tools' coordinate files (TOP) and of the
// workbench's own file of fixes.
#include "sidecar_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::checkSidecar(scrivel::sidecar::Kind::Top, data, size);
  fuzz::checkSidecar(scrivel::sidecar::Kind::Xyz, data, size);
  fuzz::checkSidecar(scrivel::sidecar::Kind::Fixes, data, size);
  return 0;
}
