// The files one operation writes for one result (a profile, a version):
// either all of them stay, or, when the operation ends without keep(),
// every one of them is removed again, so a failure never leaves files that
// belong to no tree item.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dv/file.h"

namespace quv {

class WrittenFiles {
 public:
  WrittenFiles() = default;
  WrittenFiles(const WrittenFiles&) = delete;
  WrittenFiles& operator=(const WrittenFiles&) = delete;
  ~WrittenFiles() {
    if (!kept_) removeAll();
  }

  // Records `path` when `written` says it was written; returns `written`.
  bool add(bool written, std::string path) {
    if (written) paths_.push_back(std::move(path));
    return written;
  }
  void add(std::string path) { paths_.push_back(std::move(path)); }
  // The result is whole: its files stay.
  void keep() { kept_ = true; }
  // Removes every recorded file now (also after keep()).
  void removeAll() {
    for (const std::string& p : paths_) dv::removeFile(p);
    paths_.clear();
  }

 private:
  std::vector<std::string> paths_;
  bool kept_ = false;
};

}  // namespace quv
