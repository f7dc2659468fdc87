#include "test_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "scrivel_internal.h"

// The module entry points of the library under test (exported by module.cpp).
extern "C" int InitModule(DV_STARTUP_PARAMS);
extern "C" int CleanupModule(void);

namespace scrivel_test {

namespace {

std::vector<Message> g_messages;
DvFunc g_framework[PONTRA_SLOT_COUNT];
DvFunc* g_tables[DV_MODULE_SLOTS];

int recordIDMsgOut(int kind, int moduleId, int stringId, ...) {
  Message m;
  m.number = stringId;
  const char* format = moduleId == DV_MODULE_SCRIVEL ? scrivel::messageText(stringId) : nullptr;
  if (format) {
    char buf[2048];
    va_list ap;
    va_start(ap, stringId);
    std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    m.text = buf;
  }
  g_messages.push_back(std::move(m));
  return 0;
}

}  // namespace

MessageCapture::MessageCapture() {
  g_messages.clear();
  for (auto& f : g_framework) f = nullptr;
  for (auto& t : g_tables) t = nullptr;
  g_framework[PONTRA_IDMsgOut] = reinterpret_cast<DvFunc>(&recordIDMsgOut);
  g_tables[DV_MODULE_FRAMEWORK] = g_framework;
  InitModule(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, g_tables, nullptr, nullptr, 0,
             0);
}

MessageCapture::~MessageCapture() {
  CleanupModule();
  g_messages.clear();
}

const std::vector<Message>& MessageCapture::all() const { return g_messages; }
void MessageCapture::clear() { g_messages.clear(); }

int MessageCapture::count(int number) const {
  int n = 0;
  for (const auto& m : g_messages) n += m.number == number;
  return n;
}

std::vector<std::string> MessageCapture::texts(int number) const {
  std::vector<std::string> out;
  for (const auto& m : g_messages)
    if (m.number == number) out.push_back(m.text);
  return out;
}

std::vector<int> MessageCapture::numbers() const {
  std::vector<int> out;
  for (const auto& m : g_messages) out.push_back(m.number);
  return out;
}

std::string testdataDir() { return DELVAR_TESTDATA; }

bool testdataAvailable() {
  struct stat st;
  return ::stat(DELVAR_TESTDATA, &st) == 0 && S_ISDIR(st.st_mode);
}

std::string testdata(const std::string& relative) { return testdataDir() + "/" + relative; }

const nlohmann::json& reference(const std::string& key) {
  static const nlohmann::json all = [] {
    std::ifstream in(testdata("reference.json"));
    if (!in) return nlohmann::json();
    return nlohmann::json::parse(in, nullptr, false);
  }();
  static const nlohmann::json none;
  if (!all.is_object() || !all.contains("files") || !all["files"].contains(key)) return none;
  return all["files"][key];
}

TempDir::TempDir() {
  std::string base = std::filesystem::temp_directory_path().string() + "/scrivel_test_XXXXXX";
  std::vector<char> name(base.begin(), base.end());
  name.push_back('\0');
  if (::mkdtemp(name.data())) path_ = name.data();
}

TempDir::~TempDir() {
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::vector<unsigned char> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), (std::streamsize)bytes.size());
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

}  // namespace scrivel_test
