// The project's defaults file ("DEFAULTS.QUV"), with and without its head:
// what the reader accepts is written back as the bytes it was read from,
// and either form the writer makes reads back as the same defaults.
#include <cstring>

#include "fuzz_common.h"
#include "project/defaults_file.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  quv::ProjectDefaults built;
  quv::ProjectDefaults changed;
  changed.values.rawGain = 2, changed.values.rawPalette = 1, changed.values.horizontalUse = 2;
  changed.normal.gainType = 1, changed.normal.legendTexts[4] = "Operator: %user%";
  changed.presentation.elements[quv::kLogo].texts[0] = "logo.bmp";
  changed.presentation.commentsPlacement = 2;
  fuzz::writeSeeds(argc, argv,
                   {{"headless", quv::encodeDefaults(built, false, 258)},
                    {"head", quv::encodeDefaults(changed, true, 258)}});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in = fuzz::bytesOf(data, size);
  quv::ProjectDefaults d;
  if (!quv::decodeDefaults(in, d)) return 0;
  int32_t first = 0, stamp = 0;
  std::memcpy(&first, in.data(), 4);
  const bool head = first == quv::kDefaultsHeadMarker;
  if (head) std::memcpy(&stamp, in.data() + 4, 4);
  const std::string same = quv::encodeDefaults(d, head, stamp);
  fuzz::checkPrefix(in, same, "defaults file does not write back what was read");
  for (bool withHead : {false, true}) {
    // Without its head a record whose raw gain is the head marker reads as a
    // headed one: no gain the workbench sets is that number, so no written
    // file is read that way.
    if (!withHead && d.values.rawGain == quv::kDefaultsHeadMarker) continue;
    const std::string written = quv::encodeDefaults(d, withHead, 258);
    quv::ProjectDefaults back;
    fuzz::check(quv::decodeDefaults(written, back), "written defaults cannot be read");
    fuzz::check(quv::encodeDefaults(back, head, stamp) == same, "written defaults read back changed");
  }
  return 0;
}
