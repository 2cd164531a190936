#include "feed/http_fetch.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace netglobe {
namespace {

struct Sink {
  std::string body;
  bool toolarge = false;
};

std::size_t collect(char* data, std::size_t size, std::size_t count, void* userdata) {
  auto* sink = static_cast<Sink*>(userdata);
  const std::size_t n = size * count;
  if (sink->body.size() + n > kMaxBodyBytes) {
    sink->toolarge = true;
    return 0;  // makes libcurl abort the transfer
  }
  sink->body.append(data, n);
  return n;
}

// libcurl asks at least once a second, also while it connects or waits.
int checkcancel(void* userdata, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* cancel = static_cast<const std::atomic<bool>*>(userdata);
  return cancel->load() ? 1 : 0;
}

std::string reason(CURLcode code) {
  switch (code) {
    case CURLE_OPERATION_TIMEDOUT: return "timed out";
    case CURLE_COULDNT_CONNECT: return "connection refused";
    case CURLE_COULDNT_RESOLVE_HOST: return "unknown host";
    case CURLE_GOT_NOTHING: return "no answer";
    case CURLE_PARTIAL_FILE: return "answer cut off";
    case CURLE_RECV_ERROR: return "connection lost";
    default: return curl_easy_strerror(code);
  }
}

}  // namespace

FetchResult fetchcancellable(const ServerAddress& server, const std::atomic<bool>* cancel) {
  static std::once_flag curlready;
  std::call_once(curlready, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  FetchResult result;
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) {
    result.failure = "cannot start a request";
    return result;
  }
  Sink sink;
  const std::string url = server.statusurl();
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
  curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT_MS, kRequestTimeoutMs);
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, collect);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &sink);

  if (cancel) {
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, checkcancel);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFODATA, cancel);
    curl_easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
  }

  const CURLcode code = curl_easy_perform(curl.get());
  if (cancel && cancel->load()) {
    result.failure = "cancelled";
    return result;
  }
  if (sink.toolarge) {
    result.failure = "answer over 64 MiB";
    return result;
  }
  if (code != CURLE_OK) {
    result.failure = reason(code);
    return result;
  }
  long status = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
  if (status < 200 || status > 299) {
    result.failure = "HTTP " + std::to_string(status);
    return result;
  }
  result.ok = true;
  result.body = std::move(sink.body);
  return result;
}

}  // namespace netglobe
