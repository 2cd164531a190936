#include "base/line_reader.h"

#include <stdio.h>
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace netglobe {

LineReader::LineReader(const std::string& path)
    : file_(std::fopen(path.c_str(), "rb")), path_(path), openerror_(file_ ? 0 : errno) {}

LineReader LineReader::fromtext(std::string_view text) {
  LineReader reader;
  reader.intext_ = true;
  reader.text_ = text;
  return reader;
}

LineReader::LineReader(LineReader&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      buf_(std::exchange(other.buf_, nullptr)),
      cap_(std::exchange(other.cap_, 0)),
      path_(std::move(other.path_)),
      openerror_(other.openerror_),
      intext_(std::exchange(other.intext_, false)),
      text_(std::exchange(other.text_, {})) {}

LineReader::~LineReader() {
  if (file_) std::fclose(file_);
  free(buf_);
}

std::string LineReader::openfailure() const {
  if (isopen()) return {};
  return "cannot open " + path_ + ": " + std::strerror(openerror_);
}

bool LineReader::next(std::string& line) {
  line.clear();
  std::string_view read;
  if (intext_) {
    if (text_.empty()) return false;
    const std::size_t lf = text_.find('\n');
    read = text_.substr(0, lf == std::string_view::npos ? text_.size() : lf + 1);
    text_.remove_prefix(read.size());
  } else {
    if (!file_) return false;
    const ssize_t n = getdelim(&buf_, &cap_, '\n', file_);
    if (n <= 0) return false;
    read = std::string_view(buf_, static_cast<std::size_t>(n));
  }
  if (read.ends_with('\n')) {
    read.remove_suffix(1);
    if (read.ends_with('\r')) read.remove_suffix(1);
  }
  line.assign(read);
  return true;
}

}  // namespace netglobe
