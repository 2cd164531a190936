#include "refdata/friends_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "base/line_reader.h"
#include "base/text_search.h"

namespace netglobe {

namespace {

bool alldigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

FriendIds parsefriends(const std::vector<std::string>& lines, std::vector<std::string>& notes) {
  std::vector<std::string> ids;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    // Editors that save UTF-8 may put a byte order mark before the first id.
    if (i == 0 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    line = trimmed(line, " \t\r");
    if (line.empty() || line.starts_with('#')) continue;
    if (alldigits(line)) {
      ids.emplace_back(line);
    } else {
      constexpr std::size_t kShown = 40;
      notes.push_back(std::string(kFriendsFileName) + " line " + std::to_string(i + 1) + ": \"" +
                      std::string(line.substr(0, kShown)) + (line.size() > kShown ? "..." : "") +
                      "\" is not a member id; skipped");
    }
  }
  return FriendIds(std::move(ids));
}

FriendsFile::FriendsFile(const std::string& folder)
    : path_(folder.empty() ? kFriendsFileName : folder + "/" + kFriendsFileName) {}

bool FriendsFile::refresh() {
  const FileIdentity now = fileidentity(path_);
  const bool same = loaded_ && now == identity_;
  if (same && (readable_ || !now.exists)) return false;
  LineReader file(path_);
  const int openerror = errno;
  // A file that cannot be read is tried again at every refresh, but said once.
  if (same && !file.isopen()) return false;
  loaded_ = true;
  identity_ = now;
  readable_ = true;
  notes_.clear();
  if (!now.exists) {
    ids_ = FriendIds();
    return true;
  }
  if (!file.isopen()) {
    readable_ = false;
    ids_ = FriendIds();
    notes_.push_back("cannot read " + path_ + ": " + std::strerror(openerror) +
                     "; using the built-in friends");
    return true;
  }
  std::vector<std::string> lines;
  std::string line;
  while (file.next(line)) lines.push_back(line);
  ids_ = parsefriends(lines, notes_);
  return true;
}

}  // namespace netglobe
