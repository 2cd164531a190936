#include "history/segment_writer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

#include "feed/status_copy.h"
#include "history/history_format.h"
#include "history/history_scan.h"

namespace netglobe {
namespace {

// A new file's name lasts a power cut only once its folder is synced.
void syncfolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

SegmentWriter::~SegmentWriter() {
  if (fd_ >= 0) ::close(fd_);
}

std::string SegmentWriter::start(std::int64_t receiptms) {
  const auto cannot = [this](int err) { return "cannot write to " + folder_ + ": " + std::strerror(err); };
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  if (ec) return "cannot make " + folder_ + ": " + ec.message();
  std::string name;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    name = segmentname(receiptms, static_cast<long>(::getpid()), nextname_++);
    fd = ::open((folder_ + "/" + name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return cannot(errno);
  if (!writeall(fd, kSegmentMagic)) {
    const int err = errno;
    ::close(fd);
    ::unlink((folder_ + "/" + name).c_str());
    return cannot(err);
  }
  syncfolder(folder_);
  fd_ = fd;
  file_ = name;
  bytes_ = kSegmentMagic.size();
  return {};
}

std::string SegmentWriter::append(const std::string& bytes) {
  if (!writeall(fd_, bytes) || ::fdatasync(fd_) != 0) {
    return "cannot write to " + folder_ + ": " + std::strerror(errno);
  }
  bytes_ += bytes.size();
  return {};
}

void SegmentWriter::close(bool cut, bool holdsrecords) {
  if (fd_ < 0) return;
  if (cut && holdsrecords) (void)::ftruncate(fd_, static_cast<off_t>(bytes_));
  ::close(fd_);
  fd_ = -1;
  if (!holdsrecords) ::unlink((folder_ + "/" + file_).c_str());
  file_.clear();
}

}  // namespace netglobe
