#include "dv/settings.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "dv/file.h"

namespace dv {

namespace {

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

std::vector<std::string> readLines(const std::string& file) {
  std::vector<std::string> lines;
  std::string all;
  if (!readWholeFile(file, all)) return lines;
  size_t start = 0;
  while (start < all.size()) {
    size_t nl = all.find('\n', start);
    std::string line = all.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    while (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return lines;
}

bool isSection(const std::string& line, std::string* name) {
  std::string t = trim(line);
  if (t.size() < 2 || t[0] != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  if (name) *name = trim(t.substr(1, close - 1));
  return true;
}

bool keyOf(const std::string& line, std::string* key, std::string* value) {
  std::string t = trim(line);
  if (t.empty() || t[0] == ';') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  if (key) *key = trim(t.substr(0, eq));
  if (value) *value = trim(t.substr(eq + 1));
  return true;
}

bool lookup(const std::string& file, const char* section, const char* key, std::string& out) {
  auto lines = readLines(file);
  bool inSection = false;
  for (const auto& l : lines) {
    std::string name, k, v;
    if (isSection(l, &name)) {
      inSection = ::strcasecmp(name.c_str(), section) == 0;
      continue;
    }
    if (inSection && keyOf(l, &k, &v) && ::strcasecmp(k.c_str(), key) == 0) {
      if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') ||
                            (v.front() == '\'' && v.back() == '\'')))
        v = v.substr(1, v.size() - 2);
      out = v;
      return true;
    }
  }
  return false;
}

}  // namespace

int GetPrivateProfileString(const char* section, const char* key, const char* def, char* out,
                            int size, const char* file) {
  if (!out || size <= 0) return 0;
  std::string v;
  if (!section || !key || !file || !lookup(file, section, key, v)) {
    v = def ? def : "";
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.pop_back();
  }
  size_t n = std::min(v.size(), (size_t)size - 1);
  std::memcpy(out, v.data(), n);
  out[n] = 0;
  return (int)n;
}

std::string getProfileString(const std::string& section, const std::string& key,
                             const std::string& def, const std::string& file, int maxLen) {
  std::vector<char> buf((size_t)maxLen + 1);
  GetPrivateProfileString(section.c_str(), key.c_str(), def.c_str(), buf.data(), maxLen + 1,
                          file.c_str());
  return buf.data();
}

int GetPrivateProfileInt(const char* section, const char* key, int def, const char* file) {
  std::string v;
  if (!section || !key || !file || !lookup(file, section, key, v)) return def;
  return (int)std::strtol(v.c_str(), nullptr, 10);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* file) {
  if (!section || !file) return false;
  auto lines = readLines(file);
  int secStart = -1, secEnd = -1;  // [secStart] header line, secEnd one past the last line
  for (int i = 0; i < (int)lines.size(); ++i) {
    std::string name;
    if (isSection(lines[(size_t)i], &name)) {
      if (secStart >= 0 && secEnd < 0) secEnd = i;
      if (secStart < 0 && ::strcasecmp(name.c_str(), section) == 0) secStart = i;
    }
  }
  if (secStart >= 0 && secEnd < 0) secEnd = (int)lines.size();
  if (!key) {
    if (secStart >= 0) lines.erase(lines.begin() + secStart, lines.begin() + secEnd);
  } else if (secStart < 0) {
    if (!value) return true;
    if (!lines.empty() && !trim(lines.back()).empty()) lines.push_back("");
    lines.push_back(std::string("[") + section + "]");
    lines.push_back(std::string(key) + "=" + value);
  } else {
    int found = -1, lastKey = secStart;
    for (int i = secStart + 1; i < secEnd; ++i) {
      std::string k;
      if (keyOf(lines[(size_t)i], &k, nullptr)) {
        lastKey = i;
        if (found < 0 && ::strcasecmp(k.c_str(), key) == 0) found = i;
      }
    }
    if (found >= 0) {
      if (value)
        lines[(size_t)found] = std::string(key) + "=" + value;
      else
        lines.erase(lines.begin() + found);
    } else if (value) {
      lines.insert(lines.begin() + lastKey + 1, std::string(key) + "=" + value);
    }
  }
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return writeFileAtomic(file, out);
}

}  // namespace dv
