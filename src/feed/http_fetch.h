#pragma once

#include <atomic>
#include <cstddef>
#include <string>

#include "feed/server_address.h"

namespace netglobe {

inline constexpr long kConnectTimeoutMs = 5000;
inline constexpr long kRequestTimeoutMs = 20000;
// A status file is a few megabytes at most; anything far larger is not one.
inline constexpr std::size_t kMaxBodyBytes = 64u * 1024u * 1024u;

struct FetchResult {
  bool ok = false;
  std::string body;
  std::string failure;  // short reason when !ok: "timed out", "HTTP 503", ...
};

// One synchronous plain-HTTP GET of /whazzup.txt. Adds no header, parameter
// or credential of its own. Only a 2xx answer with a whole body is a success.
// Setting *cancel ends the request within about a second, as a failure
// "cancelled": the program can quit without waiting for the time-out.
FetchResult fetchcancellable(const ServerAddress& server, const std::atomic<bool>* cancel);
inline FetchResult fetchstatus(const ServerAddress& server) { return fetchcancellable(server, nullptr); }

}  // namespace netglobe
