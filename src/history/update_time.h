#pragma once

#include <cstddef>
#include <string_view>

namespace netglobe {

// Longest UPDATE value a kept refresh carries; a longer one is cut to it.
inline constexpr std::size_t kMaxUpdateText = 64;

// The value of the status file's "UPDATE = ..." header line (the server's
// time stamp of the data, "20261207101500"), blanks stripped, cut to
// kMaxUpdateText and at its first control character; empty when the header
// has no such line or it is empty.
// Only the header (the lines every reader skips) is looked at: a client line
// never stands for the file's time.
std::string_view statusupdatetime(std::string_view body);

}  // namespace netglobe
