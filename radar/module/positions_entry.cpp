// The lines of profiles out to maps without the desktop: an export of the
// module beyond its function list, looked up by name by the command-line
// host (delvar-cli positions).
#include <strings.h>

#include <cstdio>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "processing/positions.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/tree_items.h"

using namespace quv;

// Writes the lines of the named profiles (every profile when count is 0)
// into outPath (.geojson, .kml or .csv); epsg > 0 places profiles that were
// not placed from GPS by their coordinates in that system. 0 when written,
// -1 with the reason in `error` (nothing is written then).
DV_EXPORT int QuvExportPositions(const char* outPath, int count, const char* const* profiles, int epsg,
                                 char* error, int errorSize) {
  auto fail = [&](const std::string& why) {
    if (error && errorSize > 0) std::snprintf(error, size_t(errorSize), "%s", why.c_str());
    return -1;
  };
  if (!outPath) return fail("no output file given");
  std::vector<DvHandle> chosen;
  const std::vector<DvHandle> all = childItems(profileFolder());
  for (int i = 0; i < count; ++i) {
    DvHandle found = nullptr;
    for (DvHandle it : all)
      if (::strcasecmp(treeName(it).c_str(), profiles[i]) == 0) found = it;
    if (!found) return fail(std::string("the project has no profile \"") + profiles[i] + "\"");
    chosen.push_back(found);
  }
  if (count <= 0) chosen = all;
  for (DvHandle it : chosen)
    if (ProfileItem* item = profileOf(it)) rebuildVersionList(*item);
  std::string why;
  return exportMapFile(chosen, outPath, epsg, why) ? 0 : fail(why);
}
