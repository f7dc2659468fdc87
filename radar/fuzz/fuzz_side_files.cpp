// The side files of a profile: "GEO_" (geometry nodes), "XY_" (coordinates
// of every trace) and "Z_" (elevations). The first input byte chooses the
// file, the next two give the profile's trace count (the XY and Z readers
// take it from the profile file), the rest is the file. Whatever a reader
// accepts is written back as the bytes it was read from.
#include <cstring>

#include "fuzz_common.h"
#include "project/profile.h"

namespace {

enum SideFile { kGeo = 0, kXY = 1, kZ = 2, kSideFiles = 3 };

std::string seed(SideFile which, int traces, const std::string& file) {
  std::string s(1, static_cast<char>(which));
  s += static_cast<char>(traces & 0xff);
  s += static_cast<char>((traces >> 8) & 0xff);
  return s + file;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  quv::ProfileHeader h;
  h.unitsPerFoot = 0.3048f;
  h.nodeTrace = {0, 40, 99};
  h.nodeEasting = {10.0f, 50.5f, 80.0f};
  h.nodeNorthing = {5.0f, 7.25f, -3.0f};
  for (int k = 0; k < 100; ++k) {
    h.easting.push_back(10.0f + 0.7f * k);
    h.northing.push_back(5.0f - 0.08f * k);
  }
  std::vector<float> z(100, 312.5f);
  fuzz::writeSeeds(argc, argv,
                   {{"geo", seed(kGeo, 100, quv::encodeGeoFile(h, 258))},
                    {"geo_empty", seed(kGeo, 0, quv::encodeGeoFile(quv::ProfileHeader(), 258))},
                    {"xy", seed(kXY, 100, quv::encodeXYFile(h, 258))},
                    {"z", seed(kZ, 100, quv::encodeZFile(z, 258))}});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int which = data[0] % kSideFiles;
  const int traces = data[1] | (data[2] << 8);
  const std::string in = fuzz::bytesOf(data + 3, size - 3);
  int stamp = 0;
  if (in.size() >= 4) std::memcpy(&stamp, in.data(), 4);  // written back as read
  quv::ProfileHeader h;
  h.traceCount = traces;
  if (which == kGeo) {
    if (!quv::decodeGeoFile(in, h)) return 0;
    fuzz::check(h.nodeEasting.size() == h.nodeTrace.size() && h.nodeNorthing.size() == h.nodeTrace.size(),
                "geometry node arrays differ in length");
    fuzz::checkPrefix(in, quv::encodeGeoFile(h, stamp), "GEO file does not write back what was read");
  } else if (which == kXY) {
    if (!quv::decodeXYFile(in, h)) return 0;
    fuzz::check(h.easting.size() == size_t(traces) && h.northing.size() == size_t(traces),
                "XY file does not give every trace its coordinates");
    fuzz::checkPrefix(in, quv::encodeXYFile(h, stamp), "XY file does not write back what was read");
  } else {
    std::vector<float> z;
    if (!quv::decodeZFile(in, traces, z)) return 0;
    fuzz::check(z.size() == size_t(traces), "Z file does not give every trace its elevation");
    fuzz::checkPrefix(in, quv::encodeZFile(z, stamp), "Z file does not write back what was read");
  }
  return 0;
}
