#pragma once

#include <cstdio>
#include <string>

namespace netglobe {

// Reads a text file line by line the way every reader of the program's files
// does: a line ends at LF, one CR right before that LF is not part of the
// line, and a last line without LF is still a line. Bytes are kept as they
// are (the files are windows-1252).
class LineReader {
 public:
  explicit LineReader(const std::string& path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool isopen() const { return file_ != nullptr; }
  // Reads the next line into line; false at the end of the file.
  bool next(std::string& line);

 private:
  std::FILE* file_ = nullptr;
  char* buf_ = nullptr;
  std::size_t cap_ = 0;
};

}  // namespace netglobe
