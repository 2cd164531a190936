#include "feed/feed_refresh.h"

#include <filesystem>

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

namespace {

// The validators vouch for the stored copy; with the copy gone, a 304 would
// confirm a file that is no longer there.
FetchRequest requestfor(const FeedState& state, const std::string& path) {
  FetchRequest request(*state.source);
  std::error_code ignored;
  if (std::filesystem::exists(path, ignored)) request.validators = state.validators;
  return request;
}

}  // namespace

void getwhazz(FeedState& state, FeedHost& host, const Fetcher& fetch) {
  host.settitle("Loading...");
  const std::string path = statusfilepath(state.folder);

  std::string failure;
  if (!state.source) {
    failure = "no status server";
  } else {
    FetchResult result = fetch(requestfor(state, path));
    if (result.ok && !result.notmodified && !isstatusfile(result.body)) {
      result = FetchResult();
      result.failure = "not a status file";
    }
    if (result.notmodified) {
      state.validators = result.validators;  // the copy stands as it is
    } else if (result.ok) {
      state.feedtext = convertlineends(tocp1252(result.body));
      failure = storecopy(path, state.feedtext);
      state.validators = failure.empty() ? result.validators : Validators{};
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
