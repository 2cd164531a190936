#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "feed/http_fetch.h"
#include "feed/server_address.h"
#include "feed/status_lists.h"

namespace netglobe {

// What the refresh needs from the window around it.
class FeedHost {
 public:
  virtual ~FeedHost() = default;
  virtual void settitle(const std::string& title) = 0;
  // Rebuilds the side lists from the fresh parse (nothing until they exist).
  virtual void refreshsidelists() {}
};

struct FeedState {
  std::optional<ServerAddress> server;
  std::string folder;     // the program's folder; whazzup.txt lives there
  std::string feedtext;   // last body after conversion; empty after a failure
  std::string lastfailure;  // reason of the last failed update, empty after a good one
  StatusLists lists;
};

using Fetcher = std::function<FetchResult(const ServerAddress&)>;

// One feed refresh: "Loading..." in the title, fetch, convert and store the
// copy, parse it, counts in the title. A failed request keeps the previous
// copy, parses that, and says why in the title.
void getwhazz(FeedState& state, FeedHost& host, const Fetcher& fetch = fetchstatus);

std::string statusfilepath(const std::string& folder);

// A status file has text and never begins with "<": an empty answer or a
// page (a captive portal, a proxy's error page) must not replace the copy.
bool isstatusfile(std::string_view body);

}  // namespace netglobe
