#include "feed/status_copy.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace netglobe {

std::string convertlineends(std::string_view body) {
  std::string out;
  out.reserve(body.size() + body.size() / 32 + 2);
  std::size_t start = 0;
  for (std::size_t lf = body.find('\n'); lf != std::string_view::npos; lf = body.find('\n', start)) {
    out.append(body, start, lf - start);
    out += "\r\n";
    start = lf + 1;
  }
  out.append(body, start);
  return out;
}

void removestaletemporaries(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  const std::string prefix = target.filename().string() + ".";
  const auto stale = fs::file_time_type::clock::now() - std::chrono::minutes(1);
  std::error_code ec;
  fs::directory_iterator it(target.parent_path().empty() ? fs::path(".") : target.parent_path(), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    // mkstemp's pattern: the name, a point and six letters or digits.
    const bool ours = name.size() == prefix.size() + 6 && name.starts_with(prefix) &&
                      std::all_of(name.begin() + long(prefix.size()), name.end(),
                                  [](unsigned char c) { return std::isalnum(c); });
    std::error_code ignored;
    if (ours && it->is_regular_file(ignored) && it->last_write_time(ignored) < stale) {
      fs::remove(it->path(), ignored);
    }
  }
}

std::string storecopy(const std::string& path, std::string_view text) {
  const auto failed = [&path](int err) {
    const std::string name = std::filesystem::path(path).filename().string();
    return "cannot write " + name + ": " + std::strerror(err);
  };
  std::string tmp = path + ".XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return failed(errno);
  ::fchmod(fd, 0644);
  const bool written = writeall(fd, text) && writeall(fd, "\r\n") && ::fsync(fd) == 0;
  const int writeerrno = errno;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(tmp.c_str(), path.c_str()) != 0) {
    const int err = written && closed ? errno : writeerrno;
    ::unlink(tmp.c_str());
    return failed(err);
  }
  return {};
}

bool writeall(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace netglobe
