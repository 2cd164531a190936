#include "feed/feed_refresh.h"

#include "feed/status_copy.h"
#include "feed/status_parser.h"
#include "base/text_encoding.h"

namespace netglobe {

std::string statusfilepath(const std::string& folder) {
  return folder.empty() ? kStatusFileName : folder + "/" + kStatusFileName;
}

bool isstatusfile(std::string_view body) {
  const std::size_t first = body.find_first_not_of(" \t\r\n\f\v");
  return first != std::string_view::npos && body[first] != '<';
}

void getwhazz(FeedState& state, FeedHost& host, const Fetcher& fetch) {
  host.settitle("Loading...");
  const std::string path = statusfilepath(state.folder);

  std::string failure;
  if (!state.server) {
    failure = "no status server";
  } else {
    FetchResult result = fetch(*state.server);
    if (result.ok && !isstatusfile(result.body)) result = {false, {}, "not a status file"};
    if (result.ok) {
      state.feedtext = convertlineends(tocp1252(result.body));
      failure = storecopy(path, state.feedtext);
    } else {
      failure = result.failure;
    }
  }
  if (!failure.empty()) state.feedtext.clear();
  state.lastfailure = failure;

  what2array(path, state.lists);
  std::string title = countstitle(state.lists);
  if (!failure.empty()) title += " (update failed: " + failure + ")";
  host.settitle(title);

  host.refreshsidelists();
}

}  // namespace netglobe
