#include "replace_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "import_error.h"

namespace netglobe::importer {
namespace {

bool writewhole(const std::string& path, const std::string& content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  const bool ok = done == content.size() && ::fsync(fd) == 0;
  const int saved = errno;
  const bool closed = ::close(fd) == 0;
  errno = saved;
  return ok && closed;
}

}  // namespace

void replacefiles(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files) {
  const std::string suffix = ".tmp-" + std::to_string(::getpid());
  std::vector<std::string> temps;
  const auto fail = [&](const std::string& what, std::size_t from) {
    const std::string reason = what + ": " + std::strerror(errno);
    for (std::size_t i = from; i < temps.size(); ++i) ::unlink(temps[i].c_str());
    throw ImportError(reason);
  };
  for (const auto& [name, content] : files) {
    temps.push_back(folder + "/" + name + suffix);
    if (!writewhole(temps.back(), content)) fail("cannot write " + temps.back(), 0);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string target = folder + "/" + files[i].first;
    if (::rename(temps[i].c_str(), target.c_str()) != 0) {
      fail("cannot replace " + target + (i ? " (the files before it were replaced)" : ""), i);
    }
  }
}

}  // namespace netglobe::importer
