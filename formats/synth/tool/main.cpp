// delvar-synth: writes a synthetic recording of one format, for job scripts
// and demos that need field files to add.
//   delvar-synth FORMAT PATH [TRACES SAMPLES]
// FORMAT is DZT, HD (with its .DT1), RAD (with its .RD3), SG2 or SGY; PATH
// is the header file to write.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "synth.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: delvar-synth DZT|HD|RAD|SG2|SGY PATH [TRACES SAMPLES]\n");
  return 2;
}

bool positive(const char* s, int& out) {
  char* end = nullptr;
  long v = std::strtol(s, &end, 10);
  if (!*s || *end || v < 1 || v > 100000) return false;
  out = (int)v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) return usage();
  std::string format = argv[1], path = argv[2];
  synth::LineRecipe recipe;
  recipe.traces = 60;
  recipe.samples = 128;
  if (argc == 5 && (!positive(argv[3], recipe.traces) || !positive(argv[4], recipe.samples)))
    return usage();
  int rc;
  if (format == "DZT") rc = synth::writeGssi(path, recipe);
  else if (format == "HD") rc = synth::writePekko(path, recipe);
  else if (format == "RAD") rc = synth::writeRamac(path, recipe);
  else if (format == "SG2") rc = synth::writeSeg2(path, recipe);
  else if (format == "SGY") rc = synth::writeSegy(path, recipe);
  else return usage();
  // 1: written, with samples clipped to the format's range.
  if (rc < 0) {
    std::fprintf(stderr, "delvar-synth: writing %s failed with status %d\n", path.c_str(), rc);
    return 1;
  }
  return 0;
}
