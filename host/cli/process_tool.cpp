#include "process_tool.h"

#include <cstdio>
#include <string>
#include <vector>

#include "dv/file.h"
#include "dv/system.h"
#include "project_session.h"

namespace {

using ProcessFn = int (*)(const char*, const char*, int, const char* const*, const char*, char*, int,
                          char*, int);

int failed(const std::string& why) {
  std::fprintf(stderr, "delvar-cli process: %s\n", why.c_str());
  return 1;
}

}  // namespace

int runProcess(int argc, char** argv) {
  dv::useCNumericLocale();
  if (argc < 5) {
    std::fprintf(stderr,
                 "usage: delvar-cli process PROJECT.orx PROFILE STEP [PARAM=VALUE ...] [--version T1]\n"
                 "  steps: dewow window=NS | background traces=N (0: whole line) |\n"
                 "         bandpass low=MHZ high=MHZ order=N | lowpass corner=MHZ order=N |\n"
                 "         highpass corner=MHZ order=N | envelope | timezero fraction=F |\n"
                 "         migrate velocity=V (m/ns, or ft/ns for profiles in feet)\n");
    return 2;
  }
  const std::string given = argv[2];
  const std::string orx = given[0] == '/' ? given : dv::joinPath(dv::currentDir(), given);
  const std::string profile = argv[3], step = argv[4];
  std::string version;
  std::vector<const char*> parameters;
  for (int i = 5; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--version" && i + 1 < argc) version = argv[++i];
    else if (a.find('=') != std::string::npos && a[0] != '-') parameters.push_back(argv[i]);
    else return failed("cannot use the argument \"" + a + "\" (parameters are PARAM=VALUE)");
  }
  return withRadarExport(orx, "QuvProcessProfile", [&](void* symbol) {
    auto fn = reinterpret_cast<ProcessFn>(symbol);
    char label[256] = "", error[512] = "";
    if (fn(profile.c_str(), step.c_str(), int(parameters.size()), parameters.data(), version.c_str(), label,
           int(sizeof label), error, int(sizeof error)) != 0)
      return failed(error);
    std::printf("%s\n", label);
    return 0;
  }, failed);
}
