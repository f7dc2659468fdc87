// seeds: gssi
// The DZX sidecar reader on fuzz input.
#include "sidecar_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::checkSidecar(scrivel::sidecar::Kind::Dzx, data, size);
  return 0;
}
