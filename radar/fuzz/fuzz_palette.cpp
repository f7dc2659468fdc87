// User palette files ("USERDEF.PAL" and the palettes a user loads): the
// colours taken from any text, written back one "r g b" line each, give the
// same palette, and the entries after them keep their colours.
#include <cstring>

#include "fuzz_common.h"
#include "project/user_palette.h"

namespace {

std::string paletteText(const quv::UserPalette& p, int count) {
  std::string out;
  for (int k = 0; k < count; ++k)
    out += std::to_string(p.red[k]) + " " + std::to_string(p.green[k]) + " " + std::to_string(p.blue[k]) + "\r\n";
  return out;
}

bool samePalette(const quv::UserPalette& a, const quv::UserPalette& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  quv::UserPalette p;
  quv::initialPalette(p);
  fuzz::writeSeeds(argc, argv,
                   {{"initial", "/ the initial ramps\n" + paletteText(p, quv::kUserPaletteSize)},
                    {"short", "  255 0 0\n\n\t0 255\n0 0 255 extra\n"}});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quv::UserPalette initial, read, back;
  quv::initialPalette(initial);
  read = initial;
  const int taken = quv::applyPaletteText(read, fuzz::bytesOf(data, size));
  fuzz::check(taken >= 0 && taken <= quv::kUserPaletteSize, "more colours taken than the palette holds");
  fuzz::check(std::memcmp(read.red + taken, initial.red + taken, quv::kUserPaletteSize - taken) == 0 &&
                  std::memcmp(read.green + taken, initial.green + taken, quv::kUserPaletteSize - taken) == 0 &&
                  std::memcmp(read.blue + taken, initial.blue + taken, quv::kUserPaletteSize - taken) == 0,
              "colours beyond the lines read changed");
  back = initial;
  fuzz::check(quv::applyPaletteText(back, paletteText(read, taken)) == taken && samePalette(back, read),
              "palette written back gives other colours");
  return 0;
}
