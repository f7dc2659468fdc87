// The profile file ("PRF_"): whatever the reader accepts is written back as
// the very bytes it was read from (the window state only when the window was
// open).
#include "fuzz_common.h"
#include "project/profile.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  quv::ProfileFileFields closed;
  closed.traceCount = 120, closed.shownVersion = 2, closed.selection1 = 1, closed.selection2 = 3;
  quv::ProfileFileFields open = closed;
  open.windowOpen = 1;
  open.window.placement = {44, 2, 3, -1, -1, -1, -1, 10, 20, 630, 470};
  open.window.splitRatio = 0.25f, open.window.presentationMode = 1;
  fuzz::writeSeeds(argc, argv,
                   {{"closed", quv::encodeProfileFile(closed)}, {"open", quv::encodeProfileFile(open)}});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in = fuzz::bytesOf(data, size);
  quv::ProfileFileFields f;
  if (!quv::decodeProfileFile(in, f)) return 0;
  fuzz::checkPrefix(in, quv::encodeProfileFile(f), "profile file does not write back what was read");
  return 0;
}
