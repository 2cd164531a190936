#include "history/history_scan.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace netglobe {
namespace {

namespace fs = std::filesystem;

std::int64_t namedtime(const std::string& name) {
  std::int64_t ms = 0;
  std::from_chars(name.data(), name.data() + name.size(), ms);
  return ms;
}

std::string damageline(const HistorySegment& s) {
  return "history: " + s.file + ": " + s.damage + "; read the " + std::to_string(s.records.size()) +
         " refreshes before it";
}

}  // namespace

FileSource::FileSource(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  struct stat st {};
  if (::fstat(fd_, &st) == 0) size_ = static_cast<std::uint64_t>(st.st_size);
}

FileSource::~FileSource() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileSource::readat(std::uint64_t offset, std::size_t n, std::string& out) const {
  if (fd_ < 0 || offset > size_ || n > size_ - offset) return false;
  out.resize(n);
  std::size_t done = 0;
  while (done < n) {
    const ssize_t got = ::pread(fd_, out.data() + done, n - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

std::string segmentname(std::int64_t receiptms, long pid, unsigned n) {
  return std::to_string(receiptms) + "-" + std::to_string(pid) + "-" + std::to_string(n) +
         std::string(kSegmentSuffix);
}

HistoryIndex scanhistory(const std::string& folder, const std::atomic<bool>* cancel) {
  HistoryIndex index;
  index.folder = folder;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) {
    if (ec != std::errc::no_such_file_or_directory) {
      index.skipped.push_back("history: cannot read " + folder + ": " + ec.message());
    }
    return index;
  }
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (cancel && cancel->load()) {
      index.cancelled = true;
      break;
    }
    if (ec) {
      index.skipped.push_back("history: cannot read all of " + folder + ": " + ec.message());
      break;
    }
    const std::string name = it->path().filename().string();
    const auto skip = [&](const std::string& why) {
      index.skipped.push_back("history: skipped " + name + ": " + why);
    };
    if (!it->is_regular_file(ec) || !name.ends_with(kSegmentSuffix)) {
      skip("not a history file");
      continue;
    }
    const FileSource file(it->path().string());
    if (!file.isopen()) {
      skip(std::strerror(file.openerror()));
      continue;
    }
    SegmentRead read = readsegment(file, cancel);
    if (read.cancelled) {
      index.cancelled = true;
      break;
    }
    if (!read.ours) {
      skip("not a history file");
      continue;
    }
    HistorySegment segment{name, namedtime(name), file.size(), std::move(read.records),
                           std::move(read.damage)};
    if (!segment.damage.empty()) segment.damage = damageline(segment);
    index.segments.push_back(std::move(segment));
  }
  std::stable_sort(index.segments.begin(), index.segments.end(), segmentbefore);
  return index;
}

}  // namespace netglobe
