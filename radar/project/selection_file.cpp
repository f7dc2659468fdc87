// Version texts and selection-set lines.
#include <cctype>
#include <cstdlib>

#include "project/raw.h"
#include "project/selection.h"

namespace quv {

namespace {

std::string trimBlanks(const std::string& s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

// Removes surrounding blanks and one pair of surrounding double quotes.
std::string unquote(const std::string& s) {
  std::string t = trimBlanks(s);
  if (!t.empty() && t.front() == '"') t.erase(0, 1);
  if (!t.empty() && t.back() == '"') t.pop_back();
  return trimBlanks(t);
}

}  // namespace

std::string versionText(int kind, int number, const std::string& name) {
  char letter = kind == 0 ? 'T' : kind == 1 ? 'D' : kind == 2 ? 'E' : '?';
  return std::string(1, letter) + std::to_string(number) + " " + name;
}

bool parseVersionText(const std::string& text, int& kind, int& number) {
  if (text.size() <= 1) return false;
  switch (text[0]) {
    case 'T': kind = 0; break;
    case 'D': kind = 1; break;
    case 'E': kind = 2; break;
    default: return false;
  }
  number = std::atoi(text.c_str() + 1);
  return true;
}

std::vector<SelectionEntry> parseSelectionSet(const std::string& text) {
  std::vector<SelectionEntry> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    start = nl == std::string::npos ? text.size() : nl + 1;
    while (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '/') continue;
    line = upperCase(line.substr(first));
    // "%[^,],%[^,]": the name up to the first comma, the version up to the next.
    SelectionEntry e;
    size_t comma = line.find(',');
    e.name = unquote(line.substr(0, comma));
    if (comma != std::string::npos) e.version = unquote(line.substr(comma + 1, line.find(',', comma + 1) - comma - 1));
    out.push_back(std::move(e));
  }
  return out;
}

std::string selectionSetLine(const std::string& name, const std::string* version) {
  // Lines end with CR LF, as the project file does.
  std::string line = "\"" + name + "\"";
  if (version) line += ",\"" + *version + "\"";
  return line + "\r\n";
}

}  // namespace quv
