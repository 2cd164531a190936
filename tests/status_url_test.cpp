// Fetching from a URL: what its requests carry, how answers and redirects
// are taken, and TLS verified against the system's CAs and a CA of our own.

#include <gtest/gtest.h>

#include <mutex>

#include "feed/http_fetch.h"
#include "loopback_server.h"
#include "test_ca.h"

namespace netglobe {
namespace {

const std::string kBody = "!GENERAL\nVERSION = 8\nCONNECTED CLIENTS = 0\n";
const std::string kModified = "Mon, 07 Dec 2026 08:00:00 GMT";

FetchRequest fromurl(const std::string& url, const std::string& cafile = {}, Validators validators = {}) {
  return FetchRequest(FeedSource::fromurl(url, cafile), std::move(validators));
}

std::string encoded(const std::string& url) { return httplib::detail::encode_query_param(url); }

void servebody(const httplib::Request&, httplib::Response& res) { res.set_content(kBody, "text/plain"); }

void redirectto(const httplib::Request& req, httplib::Response& res) { res.set_redirect(req.get_param_value("to")); }

// The headers of the last request a server saw.
class SeenHeaders {
 public:
  void keep(const httplib::Request& req) {
    std::lock_guard<std::mutex> lock(mutex_);
    headers_ = req.headers;
  }
  std::string operator[](const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = headers_.find(name);
    return it == headers_.end() ? "(none)" : it->second;
  }

 private:
  std::mutex mutex_;
  httplib::Headers headers_;
};

TEST(UrlFetch, ValidatorsGoBackAndOnlyAConditionalRequestTakesA304) {
  SeenHeaders seen;
  LoopbackServer server(
      [&seen](const httplib::Request& req, httplib::Response& res) {
        seen.keep(req);
        res.set_header("ETag", "\"v1\"");
        if (req.get_header_value("If-None-Match") == "\"v1\"") {
          res.status = 304;  // names the tag only: the date given still holds
          return;
        }
        res.set_header("Last-Modified", kModified);
        res.set_content(kBody, "text/plain");
      },
      R"(/.*)");

  const FetchResult first = fetchstatus(fromurl(server.url("/feeds/status.txt?net=1")));
  ASSERT_TRUE(first.ok) << first.failure;
  EXPECT_FALSE(first.notmodified);
  EXPECT_EQ(first.body, kBody);
  EXPECT_EQ(first.validators, (Validators{"\"v1\"", kModified}));
  EXPECT_EQ(seen["User-Agent"], "netglobe/" NETGLOBE_VERSION);
  EXPECT_EQ(seen["Accept-Encoding"], "gzip, deflate");
  EXPECT_EQ(seen["If-None-Match"], "(none)");

  const FetchResult again = fetchstatus(fromurl(server.url("/feeds/status.txt?net=1"), {}, first.validators));
  ASSERT_TRUE(again.ok) << again.failure;
  EXPECT_TRUE(again.notmodified);
  EXPECT_EQ(again.body, "");
  EXPECT_EQ(again.validators, first.validators);
  EXPECT_EQ(seen["If-None-Match"], "\"v1\"");
  EXPECT_EQ(seen["If-Modified-Since"], kModified);

  // They vouch for this server's copy: a redirect to another goes without them.
  LoopbackServer hop(redirectto, "/go");
  const FetchResult moved =
      fetchstatus(fromurl(hop.url("/go?to=" + encoded(server.url("/feeds/status.txt"))), {}, first.validators));
  EXPECT_TRUE(moved.ok && !moved.notmodified && moved.body == kBody) << moved.failure;
  EXPECT_EQ(seen["If-None-Match"], "(none)");
  EXPECT_EQ(seen["If-Modified-Since"], "(none)");

  // A status server gets the plain GET of old, whatever validators there are.
  const FetchResult plain = fetchstatus(FetchRequest(server.address(), first.validators));
  EXPECT_TRUE(plain.ok && !plain.notmodified && plain.body == kBody) << plain.failure;
  EXPECT_TRUE(plain.validators.empty());
  for (const char* header : {"User-Agent", "Accept-Encoding", "If-None-Match", "If-Modified-Since"}) {
    EXPECT_EQ(seen[header], "(none)") << header;
  }

  // A 304 nobody asked for confirms nothing.
  LoopbackServer unasked([](const httplib::Request&, httplib::Response& res) { res.status = 304; }, "/s");
  EXPECT_EQ(fetchstatus(fromurl(unasked.url("/s"))).failure, "HTTP 304");
}

TEST(UrlFetch, CompressedAnswersAreDecodedAndLimitedAsDecoded) {
  // The server library compresses for a client that asks; 64 MiB of one
  // letter come over the wire as a few hundred kilobytes.
  LoopbackServer small(servebody, "/s");
  EXPECT_EQ(fetchstatus(fromurl(small.url("/s"))).body, kBody);
  LoopbackServer huge(
      [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(kMaxBodyBytes + 1, 'x'), "text/plain");
      },
      "/s");
  const FetchResult got = fetchstatus(fromurl(huge.url("/s")));
  EXPECT_FALSE(got.ok);
  EXPECT_EQ(got.failure, "answer over 64 MiB");
}

TEST(UrlFetch, RedirectsAreFollowedFiveTimesAtMost) {
  LoopbackServer hops(
      [](const httplib::Request& req, httplib::Response& res) {
        const int left = std::stoi(req.matches[1]);
        if (left == 0) return servebody(req, res);
        res.set_redirect("/hop/" + std::to_string(left - 1));
      },
      R"(/hop/(\d+))");
  const FetchResult five = fetchstatus(fromurl(hops.url("/hop/5")));
  EXPECT_EQ(five.body, kBody) << five.failure;
  EXPECT_EQ(fetchstatus(fromurl(hops.url("/hop/6"))).failure, "too many redirects");

  LoopbackServer away(redirectto, "/go");
  EXPECT_EQ(fetchstatus(fromurl(away.url("/go?to=" + encoded("ftp://127.0.0.1/whazzup.txt")))).failure,
            "redirect to neither http nor https");
}

TEST(UrlFetch, CertificatesAreVerifiedAndHttpsNeverLeadsToHttp) {
  TestCa ca;
  ASSERT_TRUE(ca.made()) << "making a test CA needs openssl (scripts/install-deps.sh)";
  const std::string trusted = ca.file("ca.pem");
  LoopbackServer secure(servebody, "/s", ca.tls());

  const FetchResult good = fetchstatus(fromurl(secure.url("/s"), trusted));
  EXPECT_EQ(good.body, kBody) << good.failure;
  EXPECT_EQ(fetchstatus(fromurl(secure.url("/s"))).failure, "certificate not trusted");
  EXPECT_EQ(fetchstatus(fromurl(secure.url("/s"), ca.file("other.pem"))).failure, "certificate not trusted");
  EXPECT_EQ(fetchstatus(fromurl(secure.url("/s", "localhost"), trusted)).failure,
            "certificate not for this host");
  EXPECT_EQ(fetchstatus(fromurl(secure.url("/s"), ca.file("server.key"))).failure, "CA file not usable");
  LoopbackServer plain(servebody, "/s");
  EXPECT_EQ(fetchstatus(fromurl("https" + plain.url("/s").substr(4), trusted)).failure, "TLS handshake failed");

  LoopbackServer secureredirect(redirectto, "/go", ca.tls());
  LoopbackServer plainredirect(redirectto, "/go");
  const std::string down = secureredirect.url("/go?to=" + encoded(plain.url("/s")));
  EXPECT_EQ(fetchstatus(fromurl(down, trusted)).failure, "redirect from https to http refused");
  const FetchResult up = fetchstatus(fromurl(plainredirect.url("/go?to=" + encoded(secure.url("/s"))), trusted));
  EXPECT_EQ(up.body, kBody) << up.failure;
  // Once on https, a later step back to http is refused as well.
  EXPECT_EQ(fetchstatus(fromurl(plainredirect.url("/go?to=" + encoded(down)), trusted)).failure,
            "redirect from https to http refused");
}

}  // namespace
}  // namespace netglobe
