#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "feed/feed_source.h"
#include "feed/http_fetch.h"
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
  std::optional<FeedSource> source;
  std::string folder;     // the program's folder; whazzup.txt lives there
  std::string feedtext;   // last body after conversion; empty after a failure, kept on a 304
  std::string lastfailure;  // reason of the last failed update, empty after a good one
  Validators validators;  // of the answer the stored copy holds
  StatusLists lists;
};

using Fetcher = std::function<FetchResult(const FetchRequest&)>;

// One feed refresh: "Loading..." in the title, fetch, convert and store the
// copy, parse it, counts in the title. A failed request keeps the previous
// copy, parses that, and says why in the title. A 304 Not Modified is a good
// refresh of the copy as it stands.
void getwhazz(FeedState& state, FeedHost& host, const Fetcher& fetch = fetchstatus);

std::string statusfilepath(const std::string& folder);

// A status file has text and never begins with "<": an empty answer or a
// page (a captive portal, a proxy's error page) must not replace the copy.
bool isstatusfile(std::string_view body);

}  // namespace netglobe
