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

FetchResult fetchanswer(const FeedState& state, const Fetcher& fetch) {
  if (!state.server) return {false, {}, "no status server"};
  return fetch(*state.server);
}

std::string takeanswer(FeedState& state, FetchResult result) {
  const std::string path = statusfilepath(state.folder);
  if (result.ok && !isstatusfile(result.body)) result = {false, {}, "not a status file"};
  std::string failure;
  if (result.ok) {
    state.feedtext = convertlineends(tocp1252(result.body));
    failure = storecopy(path, state.feedtext);
  } else {
    failure = result.failure;
  }
  if (!failure.empty()) state.feedtext.clear();
  state.lastfailure = failure;

  what2array(path, state.lists);
  std::string title = countstitle(state.lists);
  if (!failure.empty()) title += " (update failed: " + failure + ")";
  return title;
}

void getwhazz(FeedState& state, FeedHost& host, const Fetcher& fetch) {
  host.settitle(kLoadingTitle);
  host.settitle(takeanswer(state, fetchanswer(state, fetch)));
  host.refreshsidelists();
}

}  // namespace netglobe
