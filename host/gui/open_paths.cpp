#include "open_paths.h"

#include <algorithm>
#include <map>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "dv/file.h"
#include "dv/headless.h"
#include "dv/system.h"
#include "pontra/pontra.h"
#include "pontra/services.h"

namespace host {

namespace {

constexpr int kAddData = 32802;  // File > Add Data
const char* const kAddListCaption = "List of QUV Raw Data File(s) to Add";
const char* const kRawFolder = "QUV/Raw Data";
const char* const kRecordingTypes = ".dzt, .hd, .rad, .sg2, .dat, .sgy";

void say(const std::string& text) {
  MsgOut(0, 0, "%s", text.c_str());
  std::fprintf(stderr, "delvar: %s\n", text.c_str());
}

std::string upper(std::string s) {
  for (char& c : s) c = (char)std::toupper((unsigned char)c);
  return s;
}

std::string absolute(const std::string& p) {
  return !p.empty() && p[0] == '/' ? p : dv::joinPath(dv::currentDir(), p);
}

// The recording a path names: the header beside a pulseEKKO or RAMAC data
// file, the path itself otherwise (Add Data knows a recording another tool
// named in its own way by its contents, and says why anything else stays out).
std::string recordingOf(const std::string& path) {
  std::string ext = upper(dv::extension(path));
  const char* header = ext == ".DT1" ? ".HD" : ext == ".RD3" ? ".RAD" : nullptr;
  if (!header) return path;
  std::string base = path.substr(0, path.size() - ext.size());
  return dv::findCaseInsensitive(base + header);
}

bool knownExtension(const std::string& path) {
  const std::string ext = upper(dv::extension(path));
  for (const char* e : {".DZT", ".HD", ".RAD", ".SG2", ".DAT", ".SGY"})
    if (ext == e) return true;
  return false;
}

bool sameBytes(const std::string& a, const std::string& b) {
  if (dv::fileSize(a) < 0 || dv::fileSize(a) != dv::fileSize(b)) return false;
  std::FILE* fa = std::fopen(a.c_str(), "rb");
  std::FILE* fb = std::fopen(b.c_str(), "rb");
  bool same = fa && fb;
  std::vector<char> x(1 << 20), y(1 << 20);
  while (same) {
    size_t n = std::fread(x.data(), 1, x.size(), fa), m = std::fread(y.data(), 1, y.size(), fb);
    same = n == m && std::equal(x.begin(), x.begin() + (long)n, y.begin());
    if (n == 0) break;
  }
  if (fa) std::fclose(fa);
  if (fb) std::fclose(fb);
  return same;
}

// The project's copy of a recording: "<EXT>_<title>.QUV", the title being
// the name up to its first dot; for a recording known by its contents, the
// prefix is its format's.
std::string storedCopy(const std::string& name) {
  const std::string title = "_" + name.substr(0, name.find('.')) + ".QUV";
  std::string ext = upper(dv::extension(name));
  if (!ext.empty()) ext = ext.substr(1);
  for (const std::string& prefix : {ext, std::string("SGY"), std::string("SG2"), std::string("DZT")}) {
    const std::string path = dv::joinPath(pontra::projectDir(), prefix + title);
    if (dv::fileExists(path)) return path;
  }
  return "";
}

dv::TreeItem* rawItem(const std::string& name) {
  return pontra::frame().tree.findPath(dv::fileTitle(pontra::projectFile()) + "/" + kRawFolder +
                                       "/" + name);
}

bool openScratch() {
  std::string orx = scratchProjectFile(), folder = dv::dirName(orx);
  if (dv::fileExists(orx)) return pontra::openProjectPath(orx);
  if (dv::fileExists(folder)) {
    say("Not opened: the scratch project's folder " + folder + " holds no " + dv::baseName(orx));
    return false;
  }
  std::error_code e;
  std::filesystem::create_directories(dv::dirName(folder), e);
  // "<data>/Scratch.orx" creates the project folder <data>/Scratch.
  return pontra::openProjectPath(folder + dv::extension(orx));
}

// Add Data's answers: the files chosen, then the list dialog's OK. The
// message boxes the add shows are kept, to say why a recording stayed out.
class AddDataAnswers : public dv::HeadlessUi {
 public:
  std::vector<std::string> boxes;
  int messageBox(const std::string& text, const std::string& caption, unsigned style) override {
    boxes.push_back(caption + ": " + text);
    return HeadlessUi::messageBox(text, caption, style);
  }
};

// Adds the recordings to the open project; returns the names now in it.
// `givenAs` names each recording as the user gave it.
std::vector<std::string> addRecordings(const std::vector<std::string>& recordings,
                                       const std::map<std::string, std::string>& givenAs) {
  std::vector<std::string> shown, toAdd;
  for (const std::string& path : recordings) {
    std::string name = dv::baseName(path);
    if (!rawItem(name)) {
      toAdd.push_back(path);
    } else if (sameBytes(path, storedCopy(name))) {
      shown.push_back(name);
    } else {
      say("Not added: " + path + ": the scratch project already holds another recording named " +
          name + " (delete it there to add this one)");
    }
  }
  if (toAdd.empty()) return shown;
  AddDataAnswers answers;
  dv::ScriptedAnswer files;
  files.kind = dv::ScriptedAnswer::File;
  files.paths = toAdd;
  answers.addAnswer(files);
  std::string error;
  answers.addAnswerLine(
      std::string("answer dialog \"") + kAddListCaption + "\" press 20501 press OK", &error);
  dv::setUi(&answers);
  pontra::command(kAddData);
  answers.processPosted();
  dv::setUi(nullptr);
  for (const std::string& path : toAdd) {
    std::string name = dv::baseName(path);
    if (rawItem(name)) {
      shown.push_back(name);
      continue;
    }
    if (!knownExtension(path)) {
      say("Not opened: " + givenAs.at(path) + " is neither a project file (.orx) nor a recording (" + kRecordingTypes +
          ", or one another tool named, known by its contents)");
      continue;
    }
    std::string why;
    for (const std::string& b : answers.boxes) why += "; " + b;
    say("Not added: " + path + (why.empty() ? "" : why));
  }
  return shown;
}

}  // namespace

std::string scratchProjectFile() {
  return dv::joinPath(dv::joinPath(dv::userDataDir(), "Scratch"), "Scratch.orx");
}

bool openPaths(const std::vector<std::string>& given) {
  std::vector<std::string> projects, recordings;
  std::map<std::string, std::string> givenAs;  // recording -> as the user named it
  for (const std::string& p : given) {
    std::string path = absolute(p);
    if (!dv::fileExists(path)) {
      say("Not opened: " + p + " does not exist");
    } else if (dv::isDirectory(path)) {
      say("Not opened: " + p + " is a folder; give a project file (.orx) or recordings (" +
          kRecordingTypes + ")");
    } else if (upper(dv::extension(path)) == ".ORX") {
      projects.push_back(path);
    } else if (std::string rec = recordingOf(path); !rec.empty()) {
      if (std::find(recordings.begin(), recordings.end(), rec) == recordings.end())
        recordings.push_back(rec), givenAs[rec] = p;
    } else {
      say("Not opened: " + p + " is a data file whose header is not beside it");
    }
  }
  if (!projects.empty()) {
    for (size_t i = 1; i < projects.size(); ++i)
      say("Not opened: " + projects[i] + ": one project opens at a time");
    for (const std::string& r : recordings)
      say("Not added: " + r +
          ": recordings go to the scratch project when no project file is given");
    return pontra::openProjectPath(projects[0]);
  }
  if (recordings.empty() || !openScratch()) return false;
  std::vector<std::string> shown = addRecordings(recordings, givenAs);
  if (shown.empty()) return false;
  // The first recording's raw data window, as a double click on it opens it.
  dv::TreeItem* first = rawItem(dv::baseName(recordings[0]));
  if (!first) first = rawItem(shown[0]);
  if (!first) return false;
  pontra::frame().tree.select(first);
  pontra::frame().tree.handler()->treeDoubleClick(first);
  dv::headless().processPosted();
  return true;
}

}  // namespace host
