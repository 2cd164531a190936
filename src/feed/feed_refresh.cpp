#include "feed/feed_refresh.h"

#include <filesystem>

#include "feed/status_copy.h"
#include "feed/status_answer.h"
#include "feed/status_parser.h"
#include "base/text_encoding.h"

namespace netglobe {

std::string statusfilepath(const std::string& folder) {
  return folder.empty() ? kStatusFileName : folder + "/" + kStatusFileName;
}

std::optional<FetchRequest> nextrequest(const FeedState& state) {
  if (!state.source) return std::nullopt;
  FetchRequest request(*state.source);
  // The validators vouch for the stored copy; with the copy gone, a 304
  // would confirm a file that is no longer there.
  std::error_code ignored;
  if (std::filesystem::exists(statusfilepath(state.folder), ignored)) request.validators = state.validators;
  return request;
}

FetchResult fetchanswer(const std::optional<FetchRequest>& request, const Fetcher& fetch) {
  if (!request) return failedanswer("no status server");
  // A JSON document is converted here, on the download's thread, so that
  // the window never waits for it.
  FetchResult result = fetch(*request);
  readanswer(result);
  return result;
}

std::string takeanswer(FeedState& state, FetchResult result) {
  const std::string path = statusfilepath(state.folder);
  std::string failure;
  // Converted already when it came through fetchanswer; only checked then.
  readanswer(result);
  if (result.notmodified) {
    state.validators = result.validators;  // the copy stands as it is
  } else if (result.ok) {
    state.feedtext = convertlineends(tocp1252(result.body));
    failure = storecopy(path, state.feedtext);
    state.validators = failure.empty() ? result.validators : Validators{};
  } else {
    failure = result.failure;
  }
  if (!failure.empty()) state.feedtext.clear();
  state.lastfailure = failure;

  what2array(path, state.lists);
  return livetitle(state);
}

std::string livetitle(const FeedState& state) {
  std::string title = countstitle(state.lists);
  if (!state.lastfailure.empty()) title += " (update failed: " + state.lastfailure + ")";
  return title;
}

void getwhazz(FeedState& state, FeedHost& host, const Fetcher& fetch) {
  host.settitle(kLoadingTitle);
  host.settitle(takeanswer(state, fetchanswer(nextrequest(state), fetch)));
  host.refreshsidelists();
}

}  // namespace netglobe
