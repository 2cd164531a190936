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

// The title while a download is in flight.
inline constexpr const char* kLoadingTitle = "Loading...";

// The request of the next refresh; none without a source. The validators go
// with it only while the copy they vouch for is there.
std::optional<FetchRequest> nextrequest(const FeedState& state);

// The answer to a request, or why there was none: without a source there is
// nothing to fetch. The body comes back in the text layout, whatever format
// the server sent (readanswer). Touches no state: any thread may run it.
FetchResult fetchanswer(const std::optional<FetchRequest>& request, const Fetcher& fetch = fetchstatus);

// An answer once its disk work is done: the copy stored (or the previous
// one read back) and parsed. Made apart from the state it goes into, so that
// it can be made off the window's thread.
struct StoredAnswer {
  std::optional<std::string> feedtext;     // the new feedtext; none on a 304 (it stands)
  std::optional<Validators> validators;    // the new validators; none when they stand
  std::string failure;                     // why the update failed, empty after a good one
  StatusLists lists;                       // the parse of the copy as it now stands
  std::optional<std::string> copy;         // the copy's text; none when it could not be read
};

// Converts and stores a good answer (an answer that is no status file is a
// failure), then parses the copy; a failed request
// or a 304 leaves the copy as it is and parses that. topcount is the peak so
// far, which the parse raises. Touches no state: any thread may run it.
StoredAnswer storeanswer(const std::string& folder, FetchResult result, int topcount);

// Takes a stored answer into the state; returns the title with the counts.
std::string applyanswer(FeedState& state, StoredAnswer answer);

// Everything of a refresh after the download at once: storeanswer, then
// applyanswer. A failed request keeps the previous copy, parses that, and the
// title says why. A 304 Not Modified is a good refresh of the copy as it stands.
std::string takeanswer(FeedState& state, FetchResult result);

// The title of the live refresh: its counts, and why the last update failed.
std::string livetitle(const FeedState& state);

// One whole feed refresh at once: "Loading..." in the title, fetch, then
// takeanswer and the side lists.
void getwhazz(FeedState& state, FeedHost& host, const Fetcher& fetch = fetchstatus);

std::string statusfilepath(const std::string& folder);

}  // namespace netglobe
