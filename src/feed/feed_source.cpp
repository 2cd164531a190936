#include "feed/feed_source.h"

#include <curl/curl.h>

#include <memory>

namespace netglobe {

FeedSource::FeedSource(const ServerAddress& server) : kind(Kind::Server), url(server.statusurl()) {}

FeedSource FeedSource::fromurl(std::string url, std::string cafile) {
  FeedSource source;
  source.kind = Kind::Url;
  source.url = std::move(url);
  source.cafile = std::move(cafile);
  return source;
}

std::optional<std::string> parsestatusurl(const std::string& text, std::string& why) {
  std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), curl_url_cleanup);
  if (!url) {
    why = "out of memory";
    return std::nullopt;
  }
  // Without a flag that guesses one, a URL must name its scheme.
  if (curl_url_set(url.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) {
    why = "not a URL: " + text;
    return std::nullopt;
  }
  char* scheme = nullptr;
  char* whole = nullptr;
  std::optional<std::string> result;
  if (curl_url_get(url.get(), CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
      (std::string(scheme) == "http" || std::string(scheme) == "https") &&
      curl_url_get(url.get(), CURLUPART_URL, &whole, 0) == CURLUE_OK) {
    result = whole;
  } else {
    why = "not an http or https URL: " + text;
  }
  curl_free(scheme);
  curl_free(whole);
  return result;
}

}  // namespace netglobe
