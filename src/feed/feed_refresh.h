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

// The title while a download is in flight.
inline constexpr const char* kLoadingTitle = "Loading...";

// The answer of the download, or why there was none: without a server there
// is nothing to fetch.
FetchResult fetchanswer(const FeedState& state, const Fetcher& fetch = fetchstatus);

// Everything of a refresh after the download: convert and store the copy,
// parse it, and return the title with the counts. A failed request keeps the
// previous copy, parses that, and the title says why.
std::string takeanswer(FeedState& state, FetchResult result);

// One whole feed refresh at once: "Loading..." in the title, fetch, then
// takeanswer and the side lists.
void getwhazz(FeedState& state, FeedHost& host, const Fetcher& fetch = fetchstatus);

std::string statusfilepath(const std::string& folder);

// A status file has text and never begins with "<": an empty answer or a
// page (a captive portal, a proxy's error page) must not replace the copy.
bool isstatusfile(std::string_view body);

}  // namespace netglobe
