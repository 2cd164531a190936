#pragma once

#include <optional>
#include <string>

#include "feed/server_address.h"

namespace netglobe {

// Where the status file comes from. A status server is asked for
// http://HOST:PORT/whazzup.txt with a plain GET and nothing of our own added;
// a URL may be any http or https address, and its requests carry what a
// server behind a cache expects (compression, a User-Agent, conditional
// requests, redirects).
struct FeedSource {
  enum class Kind { Server, Url };

  FeedSource(const ServerAddress& server);  // implicit: a status server is a source
  // url must come from parsestatusurl.
  static FeedSource fromurl(std::string url, std::string cafile = {});

  Kind kind = Kind::Server;
  std::string url;     // what is fetched
  std::string cafile;  // a CA trusted beside the system's; empty: the system's only

 private:
  FeedSource() = default;
};

// The URL as libcurl will use it; nullopt with why for text that does not
// parse or is not an http or https URL.
std::optional<std::string> parsestatusurl(const std::string& text, std::string& why);

}  // namespace netglobe
