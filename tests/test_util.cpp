#include "test_util.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "text/encoding.h"

namespace pictavo {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "pictavo-test-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  m_path = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only folders behind; make them writable to remove them.
  for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(m_path, ec);
}

namespace {

// Commands start like the program and read and create the program folder;
// the tests give them one of their own instead of the user's.
class ProgramFolderEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    m_home = std::make_unique<TempDir>();
    ::setenv("PICTAVO_HOME", m_home->path().c_str(), 1);
  }
  void TearDown() override { m_home.reset(); }

 private:
  std::unique_ptr<TempDir> m_home;
};

[[maybe_unused]] ::testing::Environment* const g_programFolder =
    ::testing::AddGlobalTestEnvironment(new ProgramFolderEnvironment);

}  // namespace

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::string> ListDir(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(path)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> HiddenNames(const std::string& path) {
  std::vector<std::string> hidden;
  for (auto& name : ListDir(path)) {
    if (name[0] == '.') hidden.push_back(std::move(name));
  }
  return hidden;
}

std::vector<std::string> ReadCp932Lines(const std::string& path) {
  const std::string bytes = ReadAll(path);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(Cp932ToUtf8(bytes.substr(start, end - start)));
    start = end + 2;
  }
  return lines;
}

void WriteCp932Lines(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += Utf8ToCp932(line) + "\r\n";
  WriteAll(path, bytes);
}

}  // namespace pictavo
