#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace netglobe {

// Reads a text file line by line the way every reader of the program's files
// does: a line ends at LF, one CR right before that LF is not part of the
// line, and a last line without LF is still a line. Bytes are kept as they
// are (the files are windows-1252).
class LineReader {
 public:
  explicit LineReader(const std::string& path);
  // The same reading over text already in memory, which must outlive the
  // reader: every reader of a file can be handed its content directly.
  static LineReader fromtext(std::string_view text);
  ~LineReader();
  LineReader(LineReader&& other) noexcept;
  LineReader& operator=(LineReader&&) = delete;
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool isopen() const { return file_ != nullptr || intext_; }
  // "cannot open PATH: reason" when the file could not be opened, else "".
  std::string openfailure() const;
  // Reads the next line into line; false at the end of the file.
  bool next(std::string& line);

 private:
  LineReader() = default;

  std::FILE* file_ = nullptr;
  char* buf_ = nullptr;
  std::size_t cap_ = 0;
  std::string path_;
  int openerror_ = 0;
  bool intext_ = false;
  std::string_view text_;  // what is left to read of an in-memory text
};

}  // namespace netglobe
