#include "base/line_reader.h"

#include <stdio.h>
#include <stdlib.h>

namespace netglobe {

LineReader::LineReader(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}

LineReader::~LineReader() {
  if (file_) std::fclose(file_);
  free(buf_);
}

bool LineReader::next(std::string& line) {
  line.clear();
  if (!file_) return false;
  const ssize_t n = getdelim(&buf_, &cap_, '\n', file_);
  if (n <= 0) return false;
  std::size_t len = static_cast<std::size_t>(n);
  if (buf_[len - 1] == '\n') {
    --len;
    if (len > 0 && buf_[len - 1] == '\r') --len;
  }
  line.assign(buf_, len);
  return true;
}

}  // namespace netglobe
