#include "lists/friends_online.h"

#include <algorithm>
#include <utility>

#include "feed/client_fields.h"
#include "feed/client_lines.h"

namespace netglobe {

FriendNews FriendsOnline::seen(LineReader copy, const FriendIds& friends) {
  ClientLines file(std::move(copy));
  std::vector<std::string> ids;
  std::vector<std::string> named;  // "CALLSIGN (NAME)" of each friend, once per member
  std::vector<std::string> namedids;
  std::string line;
  while (file.next(line)) {
    if (line.starts_with('!')) break;
    const ClientFields f(line, kName);
    if (f(kMemberId).empty()) continue;
    std::string id(f(kMemberId));
    const bool isnew = !std::binary_search(previous_.begin(), previous_.end(), id);
    if ((first_ || isnew) && friends.contains(id) &&
        std::find(namedids.begin(), namedids.end(), id) == namedids.end()) {
      named.push_back(std::string(f(kCallsign)) + " (" + std::string(f(kName)) + ")");
      namedids.push_back(id);
    }
    ids.push_back(std::move(id));
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  previous_ = std::move(ids);

  FriendNews news;
  if (first_) {
    first_ = false;
    if (named.empty()) {
      news.statusline = "no friends online";
      return news;
    }
    news.statusline = "friends online: ";
    for (std::size_t i = 0; i < named.size(); ++i) news.statusline += (i ? ", " : "") + named[i];
    news.notices.push_back(news.statusline);
    return news;
  }
  for (const std::string& who : named) {
    const std::string said = who + " is online";
    if (!news.statusline.empty()) news.statusline += "; ";
    news.statusline += said;
    news.notices.push_back(said);
  }
  return news;
}

}  // namespace netglobe
