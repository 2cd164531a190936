#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <utility>

#include "feed/feed_source.h"
#include "feed/validators.h"

namespace netglobe {

inline constexpr long kConnectTimeoutMs = 5000;
inline constexpr long kRequestTimeoutMs = 20000;
// A status file is a few megabytes at most; anything far larger is not one.
// The limit holds for the body as decoded, however small it came compressed.
inline constexpr std::size_t kMaxBodyBytes = 64u * 1024u * 1024u;
inline constexpr int kMaxRedirects = 5;

struct FetchRequest {
  FetchRequest(FeedSource source, Validators validators = {})
      : source(std::move(source)), validators(std::move(validators)) {}

  FeedSource source;
  // Of the answer behind the stored copy; sent back only for a URL source.
  Validators validators;
  // Setting *cancel ends the request within about a second, as a failure
  // "cancelled": the program can quit without waiting for the time-out.
  const std::atomic<bool>* cancel = nullptr;
};

struct FetchResult {
  bool ok = false;
  std::string body;
  std::string failure;       // short reason when !ok: "timed out", "HTTP 503", ...
  bool notmodified = false;  // ok with no body: the copy the validators describe is current
  Validators validators;     // of this answer; those to send next time
};

// An answer that failed for reason.
inline FetchResult failedanswer(std::string reason) {
  FetchResult result;
  result.failure = std::move(reason);
  return result;
}

// Makes libcurl ready; call once at start, before any other thread exists.
// fetchstatus does it too when nobody did.
void initfetching();

// One synchronous request, the whole answer in memory. Touches no state but
// its own, so any thread may call it. A status server gets one plain GET of
// /whazzup.txt with no header, parameter or credential of its own. A URL
// gets an https-verified GET (the system's CAs and the request's CA file)
// asking for gzip or deflate, with a User-Agent, the validators as
// If-None-Match and If-Modified-Since, and up to kMaxRedirects redirects
// followed, never from https to http. Only a 2xx answer with a whole body,
// or a 304 to a conditional request, is a success.
FetchResult fetchstatus(const FetchRequest& request);

}  // namespace netglobe
