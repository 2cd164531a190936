#include "feed/http_fetch.h"

#include <curl/curl.h>
#include <strings.h>

#include <chrono>
#include <memory>
#include <mutex>

#include "feed/transfer_failure.h"

namespace netglobe {
namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kUserAgent = "netglobe/" NETGLOBE_VERSION;

// One answer of the chain a request may take through redirects.
struct Answer {
  std::string body;
  bool toolarge = false;
  Validators validators;
};

std::size_t collect(char* data, std::size_t size, std::size_t count, void* userdata) {
  auto* answer = static_cast<Answer*>(userdata);
  const std::size_t n = size * count;
  if (answer->body.size() + n > kMaxBodyBytes) {
    answer->toolarge = true;
    return 0;  // makes libcurl abort the transfer
  }
  answer->body.append(data, n);
  return n;
}

std::size_t readheader(char* data, std::size_t size, std::size_t count, void* userdata) {
  auto* answer = static_cast<Answer*>(userdata);
  const std::string_view line(data, size * count);
  // A status line starts another answer (a proxy's, an interim one): only
  // the validators of the last belong to the body.
  if (line.starts_with("HTTP/")) answer->validators = {};
  readvalidator(line, answer->validators);
  return line.size();
}

bool hasscheme(const std::string& url, const char* scheme) {
  const std::size_t n = std::char_traits<char>::length(scheme);
  return url.size() > n + 3 && strncasecmp(url.c_str(), scheme, n) == 0 && url.compare(n, 3, "://") == 0;
}

// Why a redirect from one URL to the next may not be followed; empty if it may.
std::string refusedredirect(const std::string& from, const std::string& to) {
  if (!hasscheme(to, "http") && !hasscheme(to, "https")) return "redirect to neither http nor https";
  if (hasscheme(from, "https") && hasscheme(to, "http")) return "redirect from https to http refused";
  return {};
}

// Scheme, host and port of a URL, "" when it does not parse.
std::string originof(const std::string& url) {
  CURLU* parsed = curl_url();
  std::string origin;
  if (parsed && curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
    for (CURLUPart part : {CURLUPART_SCHEME, CURLUPART_HOST, CURLUPART_PORT}) {
      char* text = nullptr;
      if (curl_url_get(parsed, part, &text, CURLU_DEFAULT_PORT) == CURLUE_OK) origin += std::string(text) + "|";
      curl_free(text);
    }
  }
  curl_url_cleanup(parsed);
  return origin;
}

// A 304 may bring new validators; those it leaves out still hold.
Validators confirmed(Validators sent, const Validators& answered) {
  if (!answered.etag.empty()) sent.etag = answered.etag;
  if (!answered.lastmodified.empty()) sent.lastmodified = answered.lastmodified;
  return sent;
}

using Handle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using HeaderList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

// What a URL source adds to the plain GET of a status server.
HeaderList seturloptions(CURL* curl, const FetchRequest& request) {
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  // Beside, not instead of, the system's CAs: libcurl keeps its CA folder.
  if (!request.source.cafile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, request.source.cafile.c_str());
  curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
  HeaderList headers(nullptr, curl_slist_free_all);
  const auto add = [&headers](const std::string& line) {
    if (curl_slist* more = curl_slist_append(headers.get(), line.c_str())) {
      headers.release();
      headers.reset(more);
    }
  };
  if (!request.validators.etag.empty()) add("If-None-Match: " + request.validators.etag);
  if (!request.validators.lastmodified.empty()) add("If-Modified-Since: " + request.validators.lastmodified);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
  return headers;
}

// libcurl asks at least once a second, also while it connects or waits.
int checkcancel(void* userdata, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const std::atomic<bool>*>(userdata)->load() ? 1 : 0;
}

}  // namespace

void initfetching() {
  static std::once_flag ready;
  std::call_once(ready, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

FetchResult fetchstatus(const FetchRequest& request) {
  initfetching();
  Handle curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) return failedanswer("cannot start a request");

  Answer answer;
  char detail[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, collect);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &answer);
  curl_easy_setopt(curl.get(), CURLOPT_HEADERFUNCTION, readheader);
  curl_easy_setopt(curl.get(), CURLOPT_HEADERDATA, &answer);
  curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, detail);

  if (request.cancel) {
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, checkcancel);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFODATA, request.cancel);
    curl_easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
  }

  const bool isurl = request.source.kind == FeedSource::Kind::Url;
  HeaderList headers(nullptr, curl_slist_free_all);
  if (isurl) {
    headers = seturloptions(curl.get(), request);
  } else {
    curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http");
  }
  bool conditional = isurl && !request.validators.empty();

  // Redirects are followed here rather than by libcurl, so that every step
  // is checked against the rule that https never leads to http.
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kRequestTimeoutMs);
  std::string url = request.source.url;
  for (int redirects = 0;; ++redirects) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return failedanswer("timed out");
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT_MS, static_cast<long>(left));
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    answer = {};
    detail[0] = '\0';

    const CURLcode code = curl_easy_perform(curl.get());
    if (request.cancel && request.cancel->load()) return failedanswer("cancelled");
    if (answer.toolarge) return failedanswer("answer over 64 MiB");
    if (code != CURLE_OK) return failedanswer(transferfailure(code, detail));
    long status = 0;
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);

    char* next = nullptr;
    if (isurl && status >= 300 && status <= 399 && status != 304 &&
        curl_easy_getinfo(curl.get(), CURLINFO_REDIRECT_URL, &next) == CURLE_OK && next) {
      const std::string target = next;
      if (redirects == kMaxRedirects) return failedanswer("too many redirects");
      if (std::string why = refusedredirect(url, target); !why.empty()) return failedanswer(std::move(why));
      // The validators vouch for the copy of the server they came from:
      // another host gets the whole request without them.
      if (conditional && originof(target) != originof(request.source.url)) {
        curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, nullptr);
        conditional = false;
      }
      url = target;
      continue;
    }

    FetchResult result;
    if (status == 304 && conditional) {
      result.validators = confirmed(request.validators, answer.validators);
      result.ok = true;
      result.notmodified = true;
      return result;
    }
    if (status < 200 || status > 299) return failedanswer("HTTP " + std::to_string(status));
    result.ok = true;
    result.body = std::move(answer.body);
    if (isurl) result.validators = std::move(answer.validators);
    return result;
  }
}

}  // namespace netglobe
