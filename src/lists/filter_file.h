#pragma once

#include <optional>
#include <string>

namespace netglobe {

inline constexpr const char* kFilterFileName = "filter.txt";

// What the filter file holds: the query, or none; `damage` says why a file
// that is there could not be used.
struct StoredFilter {
  std::string query;
  std::string damage;
};

// The globe filter kept across restarts in folder/filter.txt: a first line
// naming the file's form, then the query on one line. A file in another
// form, with a control character or of more than a few lines is damaged and
// ignored. No file: no filter.
class FilterFile {
 public:
  explicit FilterFile(const std::string& folder);

  StoredFilter read() const;
  // Writes the query, or removes the file for an empty one. "" or why not.
  std::string write(const std::string& query) const;

 private:
  std::string path_;
};

}  // namespace netglobe
