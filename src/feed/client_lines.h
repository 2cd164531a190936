#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/line_reader.h"

namespace netglobe {

// Every reader of the status file skips exactly this many header lines.
inline constexpr int kStatusHeaderLines = 7;

// True for the client section's own marker line, "!CLIENTS" or "!CLIENTS:"
// (a stored CR LF body leaves a CR at the end of each line).
bool isclientmarker(std::string_view line);

// The stored copy read from its first client line on, the one rule every
// reader of the copy shares: the seven header lines are passed over, and
// when the line after them is the client section marker itself, the client
// lines begin after it. Any other line is the first client line (a line
// that begins with "!" there still ends an empty client section for the
// readers that stop at one).
class ClientLines {
 public:
  explicit ClientLines(const std::string& path) : ClientLines(LineReader(path)) {}
  explicit ClientLines(LineReader file);
  bool isopen() const { return file_.isopen(); }
  std::string openfailure() const { return file_.openfailure(); }
  // The next line after the header; false at the end of the file.
  bool next(std::string& line);

 private:
  LineReader file_;
  bool headerread_ = false;
  std::optional<std::string> pending_;
};

}  // namespace netglobe
