#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/line_reader.h"

namespace netglobe {

// Who a file is: a file replaced, rewritten or touched gets another identity.
struct FileIdentity {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t mtimens = 0;
  bool operator==(const FileIdentity&) const = default;
};
FileIdentity fileidentity(const std::string& path);

// The key a line is found by: the four characters from keyoffset on (fewer
// when the line is shorter), the way the readers compare them with a code.
std::string_view linekey(std::string_view line, std::size_t keyoffset);

// The lines of one reference file, read into memory once and indexed by
// their key, so a lookup costs a hash probe instead of a read of the file.
// The file is read again only when refresh() finds another identity.
class KeyedLines {
 public:
  KeyedLines(std::string path, std::size_t keyoffset);

  // Reads the file again when it was replaced, changed, appeared or
  // vanished since the last read. True when it was read again.
  bool refresh();
  // Reads the lines from file in place of the path's file (text in memory,
  // for instance); a later refresh() reads the path again only when its
  // file's identity changes.
  void load(LineReader file);

  // False when the file could not be opened at the last read.
  bool readable() const { return readable_; }
  const std::vector<std::string>& lines() const { return lines_; }
  // Numbers of the lines whose key equals key, in file order. A key of more
  // than four characters matches no line, as in the scan.
  std::span<const std::uint32_t> matches(std::string_view key) const;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::size_t keyoffset_;
  bool loaded_ = false;
  FileIdentity identity_;
  bool readable_ = false;
  std::vector<std::string> lines_;
  std::unordered_map<std::string, std::vector<std::uint32_t>> index_;
};

}  // namespace netglobe
