// A synthetic pulseEKKO GPS sidecar: "Trace #N at position X" for every
// trace, a GGA fix on every fourth (the receiver slower than the trace
// rate), the blocks between written again byte for byte as loggers do. The
// line runs north-east from 46.4149 N 9.7336 E at the recipe's trace spacing,
// 1800 m high and climbing 1 cm a trace.
#include <cmath>
#include <cstdio>
#include <fstream>

#include "synth.h"

namespace synth {

int writePekkoGps(const std::string& path, const LineRecipe& recipe) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return -1;
  const double lat0 = 46.4149, lon0 = 9.7336, metresPerDegree = 111320.0;
  std::string block;
  for (int t = 0; t < recipe.traces; ++t) {
    const double along = t * double(recipe.traceSpacingM);
    char head[96];
    std::snprintf(head, sizeof head, "Trace #%d at position %.6f\r\n", t + 1, along);
    if (t % 4 == 0) {
      const double lat = lat0 + along * std::sqrt(0.5) / metresPerDegree;
      const double lon = lon0 + along * std::sqrt(0.5) / (metresPerDegree * std::cos(lat0 * M_PI / 180));
      const double latMin = (lat - std::floor(lat)) * 60, lonMin = (lon - std::floor(lon)) * 60;
      char body[160];
      std::snprintf(body, sizeof body, "GPGGA,120000.00,%02d%09.6f,N,%03d%09.6f,E,1,08,1.0,%.2f,M,48.00,M,,",
                    int(lat), latMin, int(lon), lonMin, 1800.0 + 0.01 * t);
      unsigned sum = 0;
      for (const char* p = body; *p; ++p) sum ^= static_cast<unsigned char>(*p);
      char sentence[200];
      std::snprintf(sentence, sizeof sentence, "$%s*%02X\r\n", body, sum);
      block = sentence;
    }
    out << head << block;
  }
  return out.good() ? 0 : -1;
}

}  // namespace synth
