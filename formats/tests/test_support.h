// Helpers shared by the Scrivel test suites: capture of the messages the
// library sends through IDMsgOut, paths of the shared recordings, and
// temporary folders that clean up after themselves.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace scrivel_test {

struct Message {
  int number = 0;
  std::string text;  // formatted with the library's string table
};

// While one of these exists, the library's InitModule is given a function
// table whose framework entry records every IDMsgOut call. Creating it
// clears earlier captures; destroying it detaches the library again.
class MessageCapture {
 public:
  MessageCapture();
  ~MessageCapture();
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  const std::vector<Message>& all() const;
  void clear();
  int count(int number) const;
  // Texts of every message with this number, in the order reported.
  std::vector<std::string> texts(int number) const;
  // The numbers of every message, in order (handy in failure output).
  std::vector<int> numbers() const;
};

// Folder of the shared recordings (DELVAR_TESTDATA), and whether it exists.
std::string testdataDir();
bool testdataAvailable();
std::string testdata(const std::string& relative);
// The entry of reference.json for one recording ("gssi/FILE____032.DZT"),
// or null when the file or the entry is missing.
const nlohmann::json& reference(const std::string& key);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Whole-file helpers for building hostile inputs byte by byte.
std::vector<unsigned char> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);
void writeText(const std::string& path, const std::string& text);

}  // namespace scrivel_test

// Skips the current test with a clear reason when the shared recordings are
// not beside the repository.
#define SKIP_WITHOUT_TESTDATA()                                                     \
  do {                                                                              \
    if (!scrivel_test::testdataAvailable())                                         \
      GTEST_SKIP() << "shared recordings folder " << scrivel_test::testdataDir()    \
                   << " is absent; tests on real recordings are skipped";           \
  } while (0)
