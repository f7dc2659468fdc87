// The message bar, its log file "DELVAR.OUT", the status bar and progress.
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <vector>

#include "dv/file.h"
#include "dv/system.h"
#include "dv/ui.h"
#include "state.h"

namespace pontra {

namespace {

constexpr size_t kTrimAbove = 50000;

// Message texts show numbers with the C decimal point whatever the locale
// the toolkit or the user set.
std::string vformat(const char* fmt, va_list ap) {
  if (!fmt) return "";
  dv::CNumericScope cNumbers;
  va_list copy;
  va_copy(copy, ap);
  char small[1024];
  int n = std::vsnprintf(small, sizeof small, fmt, copy);
  va_end(copy);
  if (n < 0) return "";
  if ((size_t)n < sizeof small) return std::string(small, (size_t)n);
  std::vector<char> big((size_t)n + 1);
  std::vsnprintf(big.data(), big.size(), fmt, ap);
  return std::string(big.data(), (size_t)n);
}

// Index of the first character of line `line` (lines end with "\r\n").
size_t lineStart(const std::string& text, size_t line) {
  size_t pos = 0;
  for (size_t i = 0; i < line; ++i) {
    size_t nl = text.find('\n', pos);
    if (nl == std::string::npos) return text.size();
    pos = nl + 1;
  }
  return pos;
}

size_t lineCount(const std::string& text) {
  size_t n = 1;
  for (char c : text)
    if (c == '\n') ++n;
  return n;
}

}  // namespace

void openLog() {
  auto& S = st();
  if (S.log) std::fclose(S.log);
  S.log = std::fopen("DELVAR.OUT", "w");
}

void closeLog() {
  auto& S = st();
  if (S.log) {
    std::fclose(S.log);
    S.log = nullptr;
  }
}

void writeMessage(int kind, int moduleId, const std::string& formatted) {
  auto& S = st();
  std::string line = moduleId == -1 ? formatted : "[" + moduleName(moduleId) + "]   " + formatted;
  if (kind & 1) {
    std::time_t now = std::time(nullptr);
    line += "   (" + dv::shortDate(now) + " " + dv::shortTime(now) + ")";
    kind &= ~1;
  }
  dv::LogEdit& bar = S.frame.messageBar;
  bool atEnd = bar.caretAtEnd();
  size_t selStart = bar.selStart, selEnd = bar.selEnd;
  if (bar.text.size() > kTrimAbove) {
    // The oldest fifth of the lines goes.
    size_t cut = lineStart(bar.text, lineCount(bar.text) / 5);
    bar.text.erase(0, cut);
    if (selStart < cut) atEnd = true;
    selStart = selStart >= cut ? selStart - cut : 0;
    selEnd = selEnd >= cut ? selEnd - cut : 0;
  }
  bar.text += line;
  bar.text += "\r\n";
  if (atEnd) {
    bar.selStart = bar.selEnd = bar.text.size();
  } else {
    bar.selStart = selStart;
    bar.selEnd = selEnd;
  }
  bar.changed();
  if (S.log) {
    std::fputs(line.c_str(), S.log);
    std::fputc('\n', S.log);
    std::fflush(S.log);
  }
  if (kind != 0) {
    switch (kind) {
      case 64: dv::messageBox(line, "Information", dv::MB_OK | dv::MB_ICONINFORMATION); break;
      case 48: dv::messageBox(line, "Warning", dv::MB_OK | dv::MB_ICONWARNING); break;
      case 16: dv::messageBox(line, "Error", dv::MB_OK | dv::MB_ICONERROR); break;
      default: dv::messageBox(line, "", (unsigned)kind); break;
    }
  }
}

std::string messageBarText() { return st().frame.messageBar.text; }

// Finds a module's string-table text through its resource library, or the
// module library itself when it has none.
static const char* loadString(int moduleId, int id) {
  auto& s = st().s;
  if (moduleId == 0) {
    static std::string kept;
    kept = frameString(id);
    return kept.empty() ? nullptr : kept.c_str();
  }
  if (moduleId < 0 || moduleId >= DV_MODULE_SLOTS) return nullptr;
  void* lib = s.resHandles && s.resHandles[moduleId] ? s.resHandles[moduleId]
                                                     : (s.libHandles ? s.libHandles[moduleId] : nullptr);
  auto fn = reinterpret_cast<PfnDvLoadString>(dv::findSymbol(lib, DV_LOAD_STRING_SYMBOL));
  return fn ? fn(id) : nullptr;
}

}  // namespace pontra

using namespace pontra;

DV_EXPORT int ClearMsgBar(void) {
  auto& bar = st().frame.messageBar;
  bar.text.clear();
  bar.selStart = bar.selEnd = 0;
  bar.changed();
  return 0;
}

DV_EXPORT int MsgOut(int kind, int moduleId, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  std::string text = vformat(format, ap);
  va_end(ap);
  writeMessage(kind, moduleId, text);
  return 0;
}

DV_EXPORT int IDMsgOut(int kind, int moduleId, int stringId, ...) {
  const char* fmt = loadString(moduleId, stringId);
  std::string text;
  if (fmt) {
    va_list ap;
    va_start(ap, stringId);
    text = vformat(fmt, ap);
    va_end(ap);
  } else {
    text = "Message " + std::to_string(stringId) + " (no text in the string table)";
  }
  writeMessage(kind, moduleId, text);
  return 0;
}

DV_EXPORT int SetStatusBarText(int pane, const char* text) {
  auto& f = st().frame;
  if (pane < 0 || pane >= (int)f.statusPanes.size()) return -1;
  f.statusPanes[(size_t)pane] = text ? text : "";
  f.changed(dv::FrameModel::StatusBar);
  return 0;
}

DV_EXPORT int CreateProgress(const char* title, const char* text) {
  if (st().progress) dv::ui().progressHide();
  dv::ui().progressShow(title ? title : "", text ? text : "");
  st().progress = true;
  return 0;
}

DV_EXPORT int SetProgress(const char* text, int position) {
  if (!st().progress) return 1;
  dv::ui().progressUpdate(text ? text : "", position < 0 ? 0 : position > 100 ? 100 : position);
  return 0;
}

DV_EXPORT int DestroyProgress(void) {
  if (st().progress) dv::ui().progressHide();
  st().progress = false;
  return 0;
}

DV_EXPORT int PlayWav(const char* file) {
  if (!dv::ui().playSound(file ? file : ""))
    writeMessage(0, 0, std::string("Sound playback is not available here: ") + (file ? file : ""));
  return 0;
}

DV_EXPORT int PlayAvi(const char* file) {
  if (!dv::ui().playVideo(file ? file : ""))
    writeMessage(0, 0, std::string("Video playback is not available here: ") + (file ? file : ""));
  return 0;
}
