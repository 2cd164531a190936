#include "lists/filter_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/line_reader.h"
#include "feed/status_copy.h"

namespace netglobe {
namespace {

constexpr const char* kFormLine = "netglobe filter 1";
// A query is typed into one field; anything much longer was not.
constexpr std::size_t kLongestQuery = 1000;

bool plaintext(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

}  // namespace

FilterFile::FilterFile(const std::string& folder) : path_(folder + "/" + kFilterFileName) {}

StoredFilter FilterFile::read() const {
  StoredFilter stored;
  std::error_code absent;
  if (!std::filesystem::exists(path_, absent)) return stored;
  LineReader in(path_);
  if (!in.isopen()) {
    stored.damage = std::string(kFilterFileName) + " cannot be read; no filter";
    return stored;
  }
  std::string form;
  std::string query;
  std::string extra;
  const bool whole = in.next(form) && in.next(query) && !in.next(extra);
  if (!whole || form != kFormLine || query.size() > kLongestQuery || !plaintext(query)) {
    stored.damage = std::string(kFilterFileName) + " is damaged; ignored, no filter";
    return stored;
  }
  stored.query = query;
  return stored;
}

std::string FilterFile::write(const std::string& query) const {
  if (query.empty()) {
    if (std::remove(path_.c_str()) != 0 && errno != ENOENT) {
      return std::string(kFilterFileName) + " cannot be removed: " + std::strerror(errno);
    }
    return "";
  }
  // storecopy ends the text with CR LF; the reader drops the CR.
  const std::string failure = storecopy(path_, std::string(kFormLine) + "\n" + query);
  return failure.empty() ? "" : std::string(kFilterFileName) + " not written: " + failure;
}

}  // namespace netglobe
