#include "demo.h"

#include <vector>

#include "dv/file.h"
#include "dv/system.h"
#include "processing/brennic_layout.h"
#include "synth.h"

namespace host {

int writeSynthetic(const std::string& format, const std::string& path, int traces, int samples) {
  synth::LineRecipe recipe;
  recipe.traces = traces;
  recipe.samples = samples;
  if (format == "DZT") return synth::writeGssi(path, recipe);
  if (format == "HD") return synth::writePekko(path, recipe);
  if (format == "RAD") return synth::writeRamac(path, recipe);
  if (format == "SG2") return synth::writeSeg2(path, recipe);
  if (format == "SGY") return synth::writeSegy(path, recipe);
  if (format == "GPS") return synth::writePekkoGps(path, recipe);
  if (format == "BRENNIC") return writeBrennicProject(path, recipe);
  return -1;
}

int writeBrennicProject(const std::string& path, const synth::LineRecipe& recipe) {
  namespace brennic = quv::brennic;
  const std::string dir = dv::dirName(path);
  auto inDir = [&](const std::string& name) { return dir.empty() ? name : dv::joinPath(dir, name); };
  // LINE1: a time and a depth version; LINE2: one time version.
  const struct {
    const char* line;
    std::vector<brennic::Version> versions;
  } lines[] = {
      {"LINE1",
       {{"LINE1_T", "SGY", "1", "raw", recipe.traces, false, false},
        {"LINE1_D", "SGY", "2", "depth", recipe.traces, true, false}}},
      {"LINE2", {{"LINE2_T", "SGY", "1", "raw", recipe.traces, false, false}}},
  };
  std::vector<brennic::Line> records;
  for (const auto& l : lines) {
    records.push_back({int(records.size()) + 1, l.line, l.line});
    for (const brennic::Version& v : l.versions)
      if (int rc = synth::writeSegy(inDir(v.dataFile()), recipe); rc < 0) return rc;
    if (!dv::writeFileAtomic(inDir(std::string(l.line) + ".LDB"), brennic::encodeDatabase(l.versions)))
      return -1;
  }
  return dv::writeFileAtomic(path, brennic::encodeProject(records)) ? 0 : -1;
}

namespace {
struct DemoLine {
  const char* format;
  const char* name;
};
const DemoLine kLines[] = {{"DZT", "LINE01.DZT"}, {"HD", "LINE02.HD"}, {"RAD", "LINE03.RAD"},
                           {"SG2", "LINE04.SG2"}, {"SGY", "LINE05.SGY"}};

std::string quoted(const std::string& s) { return "\"" + s + "\""; }
}  // namespace

std::string demoRenderJob(const std::string& folder) {
  std::string abs = !folder.empty() && folder[0] == '/' ? folder : dv::joinPath(dv::currentDir(), folder);
  return "render LINE01 " + quoted(dv::joinPath(abs, "profile-LINE01.png")) + " 1400 900\n" +
         "render LINE01.DZT " + quoted(dv::joinPath(abs, "raw-LINE01.DZT.png")) + " 1400 900\n";
}

std::string demoJob(const std::string& folder) {
  std::string abs = !folder.empty() && folder[0] == '/' ? folder : dv::joinPath(dv::currentDir(), folder);
  if (!dv::makeDirectory(abs)) return "";
  std::string field = dv::joinPath(abs, "field");
  if (!dv::makeDirectory(field)) return "";
  std::string existing = dv::joinPath(dv::joinPath(abs, "Demo"), "Demo.orx");
  // The demo ends with a profile window and a raw data window showing.
  const std::string windows =
      "dblclick \"Demo/QUV/Raw Data/LINE01.DZT\"\n"
      "dblclick \"Demo/QUV/Profiles/LINE01\"\n";
  if (dv::fileExists(existing)) return "open " + quoted(existing) + "\nexpect tree Demo\n" + windows;
  // First run: the recordings, then a job that creates the project and
  // adds them as a user would through File > Add Data.
  std::string files;
  for (const auto& l : kLines) {
    std::string path = dv::joinPath(field, l.name);
    if (!dv::fileExists(path) && writeSynthetic(l.format, path, 400, 512) < 0) return "";
    files += " " + quoted(path);
  }
  std::string job;
  job += "open " + quoted(dv::joinPath(abs, "Demo.orx")) + "\n";
  job += "answer file" + files + "\n";
  job += "answer dialog \"List of QUV Raw Data File(s) to Add\" press 20501 press OK\n";
  job += "command \"&File/&Add Data\"\n";
  for (const auto& l : kLines)
    job += "expect tree " + quoted(std::string("Demo/QUV/Raw Data/") + l.name) + "\n";
  // A profile from every recording, named after it, with the straight line
  // each header gives.
  job += "popup \"Demo/QUV/Raw Data\" \"&Select All\"\n";
  job += "answer dialog \"Specify Name for Profiles\" press OK\n";
  job += "answer dialog \"Edit Geometry\" press OK\n";
  job += "command \"&0-QUV/&Raw Batch/&Create Profiles\"\n";
  job += "popup \"Demo/QUV/Raw Data\" \"&Deselect All\"\n";
  for (const auto& l : kLines)
    job += "expect tree " + quoted("Demo/QUV/Profiles/" + std::string(l.name).substr(0, 6)) + "\n";
  return job + windows;
}

}  // namespace host
