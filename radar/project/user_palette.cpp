#include "project/user_palette.h"

#include <cstdio>

#include "dv/file.h"

namespace quv {

UserPalette& userPalette() {
  static UserPalette p = [] {
    UserPalette q;
    initialPalette(q);
    return q;
  }();
  return p;
}

void initialPalette(UserPalette& p) {
  for (int k = 0; k < kUserPaletteSize; ++k) {
    p.red[k] = k < 32 ? static_cast<uint8_t>(8 * (31 - k)) : 0;
    p.green[k] = 0;
    p.blue[k] = k < 32 ? 0 : static_cast<uint8_t>(8 * (k - 32));
  }
}

int applyPaletteText(UserPalette& p, const std::string& text) {
  int taken = 0;
  size_t pos = 0;
  while (pos < text.size() && taken < kUserPaletteSize) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    while (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;  // empty line
    line.erase(0, first);
    if (line[0] == '/') continue;  // comment
    int r = 0, g = 0, b = 0;
    std::sscanf(line.c_str(), "%d %d %d", &r, &g, &b);  // missing values stay 0
    p.red[taken] = static_cast<uint8_t>(r & 0xff);
    p.green[taken] = static_cast<uint8_t>(g & 0xff);
    p.blue[taken] = static_cast<uint8_t>(b & 0xff);
    ++taken;
  }
  return taken;
}

bool loadPaletteFile(const std::string& path, UserPalette& p) {
  std::string text;
  if (!dv::readWholeFile(path, text)) return false;
  applyPaletteText(p, text);
  return true;
}

void loadUserPalette(const std::string& orxDir) {
  UserPalette& p = userPalette();
  initialPalette(p);
  std::string path = dv::joinPath(orxDir, kUserPaletteFileName);
  if (!orxDir.empty() && dv::fileExists(path)) loadPaletteFile(path, p);
}

}  // namespace quv
