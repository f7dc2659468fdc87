// Loads the Scrivel library the way the framework does: dlopen beside the
// executable, one function-table slot per name of its list, InitModule with
// the eleven start-up values. Entry 0 of the function tables is a small
// framework table of our own whose IDMsgOut prints the library's messages
// (texts from its string table) to stderr.
#pragma once

#include <string>

#include "delvar/module.h"
#include "scrivel/scrivel.h"

namespace cli {

class ScrivelModule {
 public:
  ScrivelModule() = default;
  ~ScrivelModule();
  ScrivelModule(const ScrivelModule&) = delete;
  ScrivelModule& operator=(const ScrivelModule&) = delete;

  // Loads libscrivel.so from the executable's folder (or `path` when given).
  // On failure returns false with the reason in *error.
  bool load(std::string* error, const std::string& path = "");

  // The function in slot k of module 1's table, typed by the caller.
  template <typename Fn>
  Fn fn(int k) const {
    return k > 0 && k < SCRIVEL_SLOT_COUNT ? reinterpret_cast<Fn>(table_[k]) : nullptr;
  }

  // How many messages the library has reported since loading.
  static int messageCount();

 private:
  void* handle_ = nullptr;
  DvFunc table_[SCRIVEL_SLOT_COUNT] = {};
  bool initialised_ = false;
};

}  // namespace cli
