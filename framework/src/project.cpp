// The project: Open/Create Project, the project file, SaveProj, Close Project.
#include <cstdio>
#include <cstdlib>

#include "dv/file.h"
#include "dv/system.h"
#include "dv/ui.h"
#include "state.h"

namespace pontra {

namespace {

// Takes what follows the first double quote and precedes the last one, with
// the blanks inside trimmed.
std::string unquote(const std::string& field) {
  size_t first = field.find('"');
  std::string s = first == std::string::npos ? field : field.substr(first + 1);
  size_t a = s.find_first_not_of(" \t");
  s = a == std::string::npos ? "" : s.substr(a);
  size_t last = s.find_last_of('"');
  if (last != std::string::npos) s = s.substr(0, last);
  size_t b = s.find_last_not_of(" \t");
  return b == std::string::npos ? "" : s.substr(0, b + 1);
}

struct ObjectLine {
  std::string f[5];
  int moduleId = -1, typeNumber = -1, selected = 0;
  int stringsRead = 0;
};

// Reads "%[^,],%[^,],%[^,],%[^,],%[^,],%i,%i,%i": a field runs to the next
// comma and must not be empty; reading stops at the first field that fails.
ObjectLine parseObjectLine(const std::string& line) {
  ObjectLine o;
  size_t pos = 0;
  for (int i = 0; i < 5; ++i) {
    size_t comma = line.find(',', pos);
    std::string field = line.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    if (field.empty()) return o;
    o.f[i] = field;
    o.stringsRead = i + 1;
    if (comma == std::string::npos) return o;
    pos = comma + 1;
  }
  int* ints[3] = {&o.moduleId, &o.typeNumber, &o.selected};
  for (int i = 0; i < 3; ++i) {
    const char* start = line.c_str() + pos;
    char* end = nullptr;
    long v = std::strtol(start, &end, 0);
    if (end == start) return o;
    *ints[i] = (int)v;
    pos = (size_t)(end - line.c_str());
    if (pos >= line.size() || line[pos] != ',') return o;
    ++pos;
  }
  return o;
}

void insertRoot(const std::string& title) {
  auto& tree = st().frame.tree;
  dv::TreeItem* root = tree.insert(nullptr, title, IMG_ROOT);
  auto rec = std::make_unique<TreeRecord>();
  rec->isFolder = 1;
  rec->moduleId = 0;
  st().records[root] = std::move(rec);
  tree.select(root);
}

void markOpen(bool open) {
  st().projectOpen = open;
  rebuildMainMenu();
}

// The module that registered a type for the folder chain f1/f2/f3, or -1.
int chainOwner(const std::string& f1, const std::string& f2, const std::string& f3) {
  for (const TypeEntry& t : st().types)
    if (t.folder1 == f1 && t.folder2 == f2 && t.folder3 == f3 && moduleLoaded(t.moduleId))
      return t.moduleId;
  return -1;
}

void processObjectLine(const std::string& line) {
  ObjectLine o = parseObjectLine(line);
  if (o.stringsRead < 5 || o.moduleId < 0 || o.moduleId >= DV_MODULE_SLOTS) {
    writeMessage(0, 0, "Skipped a project file line that could not be read: " + line);
    return;
  }
  std::string f1 = unquote(o.f[0]), f2 = unquote(o.f[1]), f3 = unquote(o.f[2]);
  std::string name = unquote(o.f[3]), ext = unquote(o.f[4]);
  const auto& types = st().types;
  for (size_t i = 0; i < types.size(); ++i) {
    if (types[i].moduleId == o.moduleId && types[i].typeNumber == o.typeNumber) {
      if (moduleLoaded(o.moduleId)) {
        if (auto open = moduleFn<PfnTypeOpen>(o.moduleId, types[i].openSlot))
          open(name.c_str(), ext.c_str(), o.selected != 0 ? 1 : 0);
        return;
      }
      break;
    }
  }
  // Not a type its module registered. The line of a module that is not
  // installed becomes an inert item; a loaded module owns only its own
  // types, and a folder a module registered holds only that module's items:
  // any other module id makes the line bad. Either way the item is handed
  // to no module and its line is saved again as it was.
  int owner = chainOwner(f1, f2, f3);
  bool bad = moduleLoaded(o.moduleId) || (owner != -1 && owner != o.moduleId);
  if (bad) {
    std::string folders = f1 + (f2.empty() ? "" : "/" + f2) + (f3.empty() ? "" : "/" + f3);
    writeMessage(0, 0,
                 "Bad project file line, " + name + " not opened: module " +
                     std::to_string(o.moduleId) + " keeps no " + folders + " items of type " +
                     std::to_string(o.typeNumber) + ": " + line);
  }
  dv::TreeItem* folder = findOrCreateFolderChain(o.moduleId, o.typeNumber, f1, f2, f3);
  if (!folder) return;
  auto& tree = st().frame.tree;
  dv::TreeItem* item = tree.insert(folder, name, bad ? IMG_BAD : IMG_NOT_LOADED);
  tree.sortChildren(folder);
  auto rec = std::make_unique<TreeRecord>();
  rec->isFolder = 0;
  rec->moduleId = o.moduleId;
  rec->typeNumber = o.typeNumber;
  rec->typeIndex = -1;
  rec->bad = bad ? 1 : 0;
  rec->name = name;
  rec->fileExt = ext;
  st().records[item] = std::move(rec);
}

void processWindowLine(const std::string& line) {
  // "%i,%s": the second field ends at the first blank.
  const char* start = line.c_str();
  char* end = nullptr;
  long maximised = std::strtol(start, &end, 10);
  if (end == start || *end != ',') return;
  std::string rest(end + 1);
  size_t blank = rest.find_first_of(" \t");
  if (blank != std::string::npos) rest = rest.substr(0, blank);
  std::string title = unquote(rest);
  auto& mdi = st().frame.mdi;
  auto windows = mdi.windows();
  for (auto* w : windows) {
    if (w->title() == title) {
      mdi.activate(w);
      if (maximised) mdi.maximize(w, true);
    }
  }
}

std::string lockPath(const std::string& orxPath) {
  return dv::joinPath(dv::dirName(orxPath), dv::fileTitle(orxPath) + ".lock");
}

std::string ownerText(const dv::LockOwner& o) {
  return "user " + (o.user.empty() ? std::string("?") : o.user) + " on host " + o.host +
         ", process " + std::to_string(o.pid);
}

// One writer per project: the lock file beside the project file is held
// while the project is open. False (with the holder named) when another
// process holds it.
bool takeProjectLock(const std::string& orxPath) {
  std::string lock = lockPath(orxPath);
  dv::LockAttempt a = dv::acquireLockFile(lock);
  switch (a.result) {
    case dv::LockAttempt::Acquired:
      break;
    case dv::LockAttempt::TakenOver:
      writeMessage(0, 0,
                   "Took over the lock of " + orxPath + " left by " + ownerText(a.owner) +
                       ", which no longer runs");
      break;
    case dv::LockAttempt::Unavailable:
      writeMessage(0, 0,
                   "Warning: could not write the lock file " + lock +
                       ": nothing keeps another workbench from writing this project too");
      return true;
    case dv::LockAttempt::Held: {
      std::string who = a.owner.known()
                            ? "It is open in another workbench or job: " + ownerText(a.owner) + "."
                            : "Its lock file " + lock +
                                  " cannot be read; delete it if no workbench or job has the "
                                  "project open.";
      writeMessage(0, 0, "Project Not Opened: " + orxPath + " is in use. " + who);
      dv::messageBox(
          "The project " + dv::fileTitle(orxPath) + " is in use and was not opened.\n" + who,
          "Project In Use", dv::MB_OK | dv::MB_ICONWARNING);
      return false;
    }
  }
  st().lockFile = lock;
  return true;
}

// Files a write cut short left in the project folder (a killed process):
// with the lock held nobody else writes there, so they go.
void removeLeftovers(const std::string& dir) {
  std::vector<std::string> gone = dv::removeStaleTempFiles(dir);
  if (gone.empty()) return;
  std::string names;
  for (const std::string& n : gone) names += (names.empty() ? "" : ", ") + n;
  writeMessage(0, 0,
               "Removed " + std::to_string(gone.size()) + " leftover temporary file" +
                   (gone.size() == 1 ? "" : "s") + " of cut-short writes: " + names);
}

}  // namespace

void releaseProjectLock() {
  if (st().lockFile.empty()) return;
  dv::releaseLockFile(st().lockFile);
  st().lockFile.clear();
}

void notifyProjectOpened() {
  for (int id = DV_FIRST_DATA_MODULE; id <= DV_LAST_DATA_MODULE; ++id)
    if (moduleLoaded(id))
      if (auto fn = moduleFn<PfnProjectOpened>(id, DV_SLOT_PROJECT_OPENED)) fn();
}

int saveProject() {
  auto& S = st();
  if (!S.projectOpen || S.projectFile.empty()) return -1;
  if (S.loadingProject) return 0;  // written once the file has been read
  std::string out;
  char buf[64];
  int major = S.s.majors ? S.s.majors[0] : 1, minor = S.s.minors ? S.s.minors[0] : 2;
  std::snprintf(buf, sizeof buf, "%i.%02i\n", major, minor);
  out += buf;
  std::string folder[3];
  // Depth-first from the root's first child; folder texts track the chain.
  std::function<void(dv::TreeItem*)> walk = [&](dv::TreeItem* item) {
    for (auto& c : item->children) {
      dv::TreeItem* it = c.get();
      TreeRecord* r = record(it);
      if (!r) continue;
      if (r->isFolder) {
        int level = folder[0].empty() ? 0 : folder[1].empty() ? 1 : 2;
        folder[level] = it->text;
        walk(it);
        for (int k = 2; k >= 0; --k)
          if (!folder[k].empty()) {
            folder[k].clear();
            break;
          }
      } else {
        out += "\"" + folder[0] + "\",\"" + folder[1] + "\",\"" + folder[2] + "\",\"" + r->name +
               "\",\"" + r->fileExt + "\"," + std::to_string(r->moduleId) + "," +
               std::to_string(r->typeNumber) + "," + (r->selected ? "1" : "0") + "\n";
      }
    }
  };
  if (dv::TreeItem* root = rootItem()) walk(root);
  if (dv::DocWindow* w = S.frame.mdi.active())
    out += std::string(w->maximized() ? "1" : "0") + ",\"" + w->title() + "\"\n";
  // Stored with CR LF line ends, written whole through a temporary file.
  std::string disk;
  disk.reserve(out.size() + 64);
  for (char c : out) {
    if (c == '\n') disk.push_back('\r');
    disk.push_back(c);
  }
  return dv::writeFileAtomic(S.projectFile, disk) ? 0 : -1;
}

static bool openExisting(const std::string& path) {
  auto& S = st();
  std::string all;
  if (!dv::readWholeFile(path, all)) {
    writeMessage(0, 0, "Project Not Opened: " + path + " cannot be read");
    return false;
  }
  if (!takeProjectLock(path)) return false;
  writeMessage(1, 0, "Project Opened: " + path);
  dv::WaitCursor wait;
  S.projectDir = dv::dirName(path);
  S.defProjDir = dv::dirName(S.projectDir);
  removeLeftovers(S.projectDir);
  S.projectFile = path;
  markOpen(true);
  insertRoot(dv::fileTitle(path));
  // Every line is read before the first Open callback runs, and the saves
  // those callbacks trigger wait until the whole file has been processed.
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < all.size()) {
    size_t nl = all.find('\n', start);
    std::string l = all.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    while (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  S.loadingProject = true;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string l = lines[i];
    size_t a = l.find_first_not_of(" \t");
    if (a == std::string::npos) continue;
    l = l.substr(a);
    if (l[0] == '/') continue;
    if (l[0] == '"')
      processObjectLine(l);
    else
      processWindowLine(l);
  }
  S.loadingProject = false;
  notifyProjectOpened();
  return true;
}

static bool createNew(const std::string& path) {
  auto& S = st();
  std::string dir = dv::dirName(path), name = dv::baseName(path);
  std::string ext = dv::extension(name);
  std::string folder = ext.empty() ? path : path.substr(0, path.size() - ext.size());
  // A folder that is already there is not taken over: it may hold anything.
  if (dv::fileExists(folder) || !dv::makeDirectory(folder)) {
    dv::messageBox("Could not create directory for project!", "ERROR", dv::MB_OK | dv::MB_ICONERROR);
    return false;
  }
  S.projectDir = folder;
  S.projectFile = dv::joinPath(folder, name);
  takeProjectLock(S.projectFile);  // a folder just made: nobody else holds it
  writeMessage(1, 0, "Project Created: " + S.projectFile);
  S.defProjDir = dv::dirName(folder);
  markOpen(true);
  insertRoot(dv::fileTitle(name));
  saveProject();
  notifyProjectOpened();
  return true;
}

bool openProjectPath(const std::string& path) {
  if (st().projectOpen) return false;
  if (dv::fileExists(path)) return openExisting(path);
  return createNew(path);
}

void openCreateProjectCommand() {
  if (st().projectOpen) return;
  dv::FileDialogRequest req;
  req.title = "Open/Create Project...";
  req.filters = {{"DELVAR Project (.orx)", "*.orx"}};
  req.defaultExt = "ORX";
  req.initialDir = st().defProjDir;
  req.overwritePrompt = false;
  req.fileMustExist = false;
  req.hideReadOnly = true;
  dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return;
  const std::string& path = r.paths[0];
  if (dv::fileExists(path)) {
    openExisting(path);
    return;
  }
  if (dv::messageBox("The project does not exist.\nDo you want to create it?", "Create Project?",
                     dv::MB_YESNO | dv::MB_ICONQUESTION) != dv::IDYES)
    return;
  createNew(path);
}

void closeProjectCommand(bool force) {
  auto& S = st();
  if (!S.projectOpen) return;
  for (int id = DV_FIRST_DATA_MODULE; id <= DV_LAST_DATA_MODULE; ++id) {
    if (!moduleLoaded(id)) continue;
    auto fn = moduleFn<PfnProjectClose>(id, DV_SLOT_PROJECT_CLOSE);
    if (fn && fn() != 0 && !force) return;
    if (fn && force) continue;
  }
  saveProject();
  // Close callbacks for every object of a loaded module; collected first
  // because a callback may touch the tree.
  std::vector<dv::TreeItem*> objects;
  S.frame.tree.walk([&](dv::TreeItem* it, int) {
    TreeRecord* r = record(it);
    if (r && !r->isFolder) objects.push_back(it);
  });
  for (dv::TreeItem* it : objects) {
    TreeRecord* r = record(it);
    if (!r || r->typeIndex < 0 || r->typeIndex >= (int)S.types.size() || !moduleLoaded(r->moduleId))
      continue;
    const TypeEntry& t = S.types[(size_t)r->typeIndex];
    if (auto fn = moduleFn<PfnTypeClose>(r->moduleId, t.closeSlot)) fn(it, r->object);
  }
  deleteAllItems();
  releaseProjectLock();
  std::string file = S.projectFile;
  S.projectOpen = false;
  S.projectFile.clear();
  S.projectDir.clear();
  rebuildMainMenu();
  writeMessage(1, 0, "Project Closed: " + file);
  writeMessage(0, -1, "");
}

bool projectOpen() { return st().projectOpen; }
std::string projectFile() { return st().projectFile; }
std::string projectDir() { return st().projectDir; }

}  // namespace pontra
