#pragma once
// Text files as the system reads and writes them: CP932 on disk, CR LF after
// every line when writing; when reading, a line ends at CR (an LF right after
// it belongs to the line end), a lone LF is an ordinary character, a byte 0x1A
// ends the text, and reads past the end give empty lines.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"
#include "platform/sink.h"

namespace pictavo {

class TextWriter {
 public:
  explicit TextWriter(std::unique_ptr<ByteSink> sink) : m_sink(std::move(sink)) {}
  // Writes the UTF-8 line as CP932 followed by CR LF. False after any failure.
  bool writeLine(std::string_view utf8);
  bool writeLines(const std::vector<std::string>& lines);
  // Completes the file (for an atomic sink: puts it in place).
  bool close();
  bool ok() const { return m_ok; }
  bool isOpen() const { return m_sink != nullptr; }
  const std::string& error() const { return m_error; }

 private:
  std::unique_ptr<ByteSink> m_sink;
  bool m_ok = true;
  std::string m_error;
};

struct [[nodiscard]] TextOpening;

class TextReader {
 public:
  // Takes the raw bytes of a file. decodeReferences: see Cp932ToUtf8.
  explicit TextReader(std::string bytes, bool decodeReferences = false);
  // Opens and reads a whole file (see ReadFileBytes).
  static TextOpening open(const std::string& path, bool decodeReferences = false);
  // The next line as UTF-8; an empty line once the text has ended.
  std::string readLine();
  bool atEnd() const { return m_pos >= m_end; }

 private:
  std::string m_bytes;
  size_t m_pos = 0;
  size_t m_end = 0;
  bool m_decodeReferences;
};

// A reader over a whole file, or none and why.
struct [[nodiscard]] TextOpening {
  std::optional<TextReader> reader;
  Status status;
};

// Reads a whole file's bytes. A failure's reason is "path: reason"; its code
// NotFound for a missing file, else CannotRead (a folder, no permission, a
// failed read). `opened`, when given, tells whether the file could be opened
// at all. Reading stops after `limit` bytes: files from picture folders are
// read only as far as their reader can use.
Status ReadFileBytes(const std::string& path, std::string& bytes, bool* opened = nullptr,
                     size_t limit = static_cast<size_t>(-1));

}  // namespace pictavo
