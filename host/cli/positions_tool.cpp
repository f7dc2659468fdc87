#include "positions_tool.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dv/file.h"
#include "dv/system.h"
#include "project_session.h"

namespace {

using PositionsFn = int (*)(const char*, int, const char* const*, int, char*, int);

int failed(const std::string& why) {
  std::fprintf(stderr, "delvar-cli positions: %s\n", why.c_str());
  return 1;
}

std::string absolute(const std::string& p) { return p[0] == '/' ? p : dv::joinPath(dv::currentDir(), p); }

}  // namespace

int runPositions(int argc, char** argv) {
  dv::useCNumericLocale();
  std::vector<std::string> words;
  int epsg = 0;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--epsg") {
      char* end = nullptr;
      epsg = i + 1 < argc ? int(std::strtol(argv[i + 1], &end, 10)) : 0;
      if (epsg <= 0 || *end != 0) return failed("--epsg takes a positive EPSG code");
      ++i;
    } else {
      words.push_back(a);
    }
  }
  if (words.size() < 2) {
    std::fprintf(stderr, "usage: delvar-cli positions PROJECT.orx [PROFILE...] OUT.{geojson,kml,csv} [--epsg N]\n");
    return 2;
  }
  const std::string orx = absolute(words.front()), out = absolute(words.back());
  std::vector<const char*> profiles;
  for (size_t i = 1; i + 1 < words.size(); ++i) profiles.push_back(words[i].c_str());
  return withRadarExport(orx, "QuvExportPositions", [&](void* symbol) {
    char error[1024] = "";
    if (reinterpret_cast<PositionsFn>(symbol)(out.c_str(), int(profiles.size()), profiles.data(), epsg, error,
                                              int(sizeof error)) != 0)
      return failed(error);
    std::printf("delvar-cli positions: wrote %s\n", out.c_str());
    return 0;
  }, failed);
}
