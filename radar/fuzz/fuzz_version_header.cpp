// The version header file ("TT01_" ...): its fields, the version's name and
// the normal and presentation display-settings records. The pure reader must
// give a record that writes and reads back unchanged; the loader that reads
// the file from disk must agree with it and size the version's value tables
// from the header only once it accepted the file.
#include "fuzz_common.h"
#include "project/profile.h"

namespace {

std::string encode(const quv::ProfileVersion& v) { return quv::encodeVersionHeader(v, 258); }
bool decode(const std::string& bytes, quv::ProfileVersion& v) { return quv::decodeVersionHeader(bytes, v); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  quv::ProfileVersion plain;
  plain.samples = 512;
  plain.name = "Raw";
  quv::ProfileVersion depth;
  depth.kind = quv::kDepthVersion;
  depth.samples = 300;
  depth.minimum = -1200.0f, depth.maximum = 1800.0f;
  depth.amplitudeScale = quv::amplitudeScaleFor(depth.minimum, depth.maximum);
  depth.firstTime = -2.0f, depth.timeIncrement = 0.1f;
  depth.firstDepth = 0.0f, depth.depthIncrement = 0.02f;
  depth.sourceKind = quv::kTimeVersion, depth.sourceNumber = 1;
  depth.name = "Migrated at 0.1 m/ns";
  depth.normal.legendTexts[5] = "Site: %proj_name%";
  depth.presentation.elements[quv::kTitle].texts[0] = "Line 7";
  quv::setFaceName(depth.presentation.hFont, "Courier New");
  fuzz::writeSeeds(argc, argv, {{"plain", encode(plain)}, {"depth", encode(depth)}});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in = fuzz::bytesOf(data, size);
  quv::ProfileVersion read;
  const bool decoded = decode(in, read);
  if (decoded) fuzz::checkStable(read, decode, encode, "version header does not read back as written");

  // The loader on the same bytes, for a profile of a few traces.
  static const std::string path = fuzz::tempFile("TT01_F.QUV");
  fuzz::writeFile(path, data, size);
  quv::ProfileHeader header;
  header.traceCount = 3;
  quv::ProfileVersion v;
  v.header = &header;
  v.headerPath = path;
  const bool loaded = quv::loadVersionHeader(v);
  fuzz::check(!loaded || decoded, "the loader accepted a header the reader refused");
  fuzz::check(v.headerValid == loaded, "a header that was not read is marked valid");
  fuzz::check(v.needed.size() == 3 && v.buffers.size() == 3, "per-trace arrays not sized by the profile");
  fuzz::check(v.time.size() == size_t(v.samples) && v.elevation.size() == size_t(v.samples),
              "value tables not sized by the header's samples");
  if (loaded) fuzz::check(encode(v) == encode(read), "the loader and the reader disagree");
  return 0;
}
