#pragma once
// Small helpers shared by the tests: temporary folders and whole-file I/O.

#include <string>
#include <vector>

#include "message_testing.h"

namespace pictavo {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return m_path; }
  std::string file(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);
// Names in the folder, sorted, without "." and "..".
std::vector<std::string> ListDir(const std::string& path);
// The hidden names among them: where temporary files would be left.
std::vector<std::string> HiddenNames(const std::string& path);
// The file's lines as UTF-8, split at CR LF (the last CR LF ends the last line).
std::vector<std::string> ReadCp932Lines(const std::string& path);
// Writes UTF-8 lines as CP932 with CR LF, as the program's pages are stored.
void WriteCp932Lines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace pictavo
