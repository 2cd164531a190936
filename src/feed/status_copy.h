#pragma once

#include <string>
#include <string_view>

namespace netglobe {

inline constexpr const char* kStatusFileName = "whazzup.txt";

// Every LF becomes CR LF (so a CR LF already there becomes CR CR LF, which the
// line reader still reads as one line).
std::string convertlineends(std::string_view body);

// Writes text and one CR LF to path through a temporary file in the same
// folder that is renamed into place: a crash mid-write never leaves a cut
// copy. Returns an empty string on success, else a short reason.
std::string storecopy(const std::string& path, std::string_view text);

// Removes the temporary files of storecopy(path) that a killed run left
// behind: those of its name pattern older than a minute, so that another
// run's write under way is left alone.
void removestaletemporaries(const std::string& path);

// Writes all of data to fd, again after an interrupted or partial write;
// false on an error (errno tells which).
bool writeall(int fd, std::string_view data);

}  // namespace netglobe
