// The raw data item file ("RAW_"): the stored names of the recording and
// the raw window's values. What the reader accepts must write and read back
// unchanged; the names then go through the checks the loader applies
// before it touches a file.
#include "dv/file.h"
#include "fuzz_common.h"
#include "project/raw.h"

namespace {

bool decode(const std::string& bytes, quv::RawItemFile& f) { return quv::decodeRawItemFile(bytes, f); }
std::string encode(const quv::RawItemFile& f) { return quv::encodeRawItemFile(f); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  quv::RawItemFile gssi;
  gssi.firstName = gssi.secondName = "DZT_LINE01.QUV";  // one stored file
  quv::RawItemFile pekko;
  pekko.firstName = "HD_LINE02.QUV", pekko.secondName = "DT1_LINE02.QUV";
  pekko.windowOpen = 1, pekko.windowSet = 1;
  pekko.firstTrace = 10, pekko.lastTrace = 400, pekko.firstSample = 0, pekko.lastSample = 255;
  pekko.reserved = 0, pekko.gain = 2, pekko.palette = 1, pekko.colours = 32;
  pekko.placement = {44, 0, 1, -1, -1, -1, -1, 4, 4, 800, 600};
  fuzz::writeSeeds(argc, argv, {{"gssi", encode(gssi)}, {"pekko", encode(pekko)}});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in = fuzz::bytesOf(data, size);
  quv::RawItemFile f;
  if (!decode(in, f)) return 0;
  fuzz::checkStable(f, decode, encode, "item file does not read back as written");
  for (const std::string* name : {&f.firstName, &f.secondName}) {
    const bool safe = dv::isSafeFileName(*name);
    fuzz::check(!safe || (name->find('/') == std::string::npos && *name != ".." && *name != "."),
                "a stored name that leaves the project folder passes as a file name");
    (void)quv::formatOfStoredName(*name);
    (void)quv::usableRawName(*name);
  }
  return 0;
}
