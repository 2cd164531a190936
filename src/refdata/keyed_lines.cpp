#include "refdata/keyed_lines.h"

#include <sys/stat.h>

#include <utility>

namespace netglobe {

FileIdentity fileidentity(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  FileIdentity id;
  id.exists = true;
  id.device = static_cast<std::uint64_t>(st.st_dev);
  id.inode = static_cast<std::uint64_t>(st.st_ino);
  id.size = static_cast<std::uint64_t>(st.st_size);
  id.mtimens = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return id;
}

std::string_view linekey(std::string_view line, std::size_t keyoffset) {
  return keyoffset < line.size() ? line.substr(keyoffset, 4) : std::string_view{};
}

KeyedLines::KeyedLines(std::string path, std::size_t keyoffset)
    : path_(std::move(path)), keyoffset_(keyoffset) {}

bool KeyedLines::refresh() {
  const FileIdentity now = fileidentity(path_);
  // A file that cannot be opened is tried again at every refresh: it may be
  // readable the next time even with the same identity (permissions).
  if (loaded_ && now == identity_ && (readable_ || !now.exists)) return false;
  identity_ = now;
  load(LineReader(path_));
  return true;
}

void KeyedLines::load(LineReader file) {
  loaded_ = true;
  lines_.clear();
  index_.clear();
  readable_ = file.isopen();
  std::string line;
  while (file.next(line)) {
    const auto number = static_cast<std::uint32_t>(lines_.size());
    index_[std::string(linekey(line, keyoffset_))].push_back(number);
    lines_.push_back(std::move(line));
  }
}

std::span<const std::uint32_t> KeyedLines::matches(std::string_view key) const {
  if (key.size() > 4) return {};
  const auto found = index_.find(std::string(key));
  if (found == index_.end()) return {};
  return found->second;
}

}  // namespace netglobe
