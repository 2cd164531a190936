#include "feed/feed_refresh.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "feed/status_copy.h"
#include "feed/status_answer.h"
#include "feed/status_parser.h"
#include "base/line_reader.h"
#include "base/text_encoding.h"

namespace netglobe {

std::string statusfilepath(const std::string& folder) {
  return folder.empty() ? kStatusFileName : folder + "/" + kStatusFileName;
}

namespace {

// The copy's text, or none when it cannot be read (then the parse reads it
// by path, which says why). A folder in its place opens but cannot be read.
std::optional<std::string> readfile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(std::istreambuf_iterator<char>(in), {});
  if (in.bad()) return std::nullopt;
  return text;
}

}  // namespace

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

StoredAnswer storeanswer(const std::string& folder, FetchResult result, int topcount) {
  const std::string path = statusfilepath(folder);
  StoredAnswer out;
  // Converted already when it came through fetchanswer; only checked then.
  readanswer(result);
  bool stored = false;
  if (result.notmodified) {
    out.validators = result.validators;  // the copy stands as it is
  } else if (result.ok) {
    std::string text = convertlineends(tocp1252(result.body));
    result.body = std::string();  // the raw body's memory back before the copy is made
    out.failure = storecopy(path, text);
    stored = out.failure.empty();
    out.validators = stored ? result.validators : Validators{};
    out.feedtext = stored ? std::move(text) : std::string();
  } else {
    out.failure = result.failure;
  }
  if (!out.failure.empty()) out.feedtext = std::string();

  // The copy as written is the text with its closing CR LF: no need to read
  // it back. Otherwise the copy on disk is what stands.
  if (stored) {
    out.copy = *out.feedtext + "\r\n";
  } else {
    out.copy = readfile(path);
  }
  out.lists.topcount = topcount;
  if (out.copy) {
    what2array(LineReader::fromtext(*out.copy), out.lists);
  } else {
    what2array(path, out.lists);
  }
  return out;
}

std::string applyanswer(FeedState& state, StoredAnswer answer) {
  if (answer.feedtext) state.feedtext = std::move(*answer.feedtext);
  if (answer.validators) state.validators = std::move(*answer.validators);
  state.lastfailure = std::move(answer.failure);
  state.lists = std::move(answer.lists);
  return livetitle(state);
}

std::string takeanswer(FeedState& state, FetchResult result) {
  return applyanswer(state, storeanswer(state.folder, std::move(result), state.lists.topcount));
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
