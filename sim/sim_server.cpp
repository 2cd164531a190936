#include "sim_server.h"

#include "field_text.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <iostream>
#include <thread>

namespace netsim {
namespace {

constexpr const char* kHost = "127.0.0.1";
constexpr const char* kContentType = "text/plain; charset=utf-8";
// What a captive portal or a proxy answers in place of the file asked for.
constexpr const char* kPage =
    "<!DOCTYPE html>\n<html><head><title>Sign in</title></head>\n"
    "<body><p>Sign in to use this network.</p></body></html>\n";

bool sameendpoint(const sockaddr_storage& addr, const std::string& ip, int port) {
  if (addr.ss_family != AF_INET) return false;
  const auto& in = reinterpret_cast<const sockaddr_in&>(addr);
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
  return ntohs(in.sin_port) == port && ip == text;
}

// The server library offers no way to hang up without answering, but the
// request carries both ends of its TCP connection, which name exactly one
// socket of this process. Shutting that socket down makes the client see the
// connection closed before any byte of an answer; the library's own attempt
// to answer then fails quietly.
bool hangup(const httplib::Request& req) {
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return false;
  bool done = false;
  while (const dirent* entry = readdir(dir)) {
    char* end = nullptr;
    const long fd = std::strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0') continue;
    sockaddr_storage local{}, peer{};
    socklen_t locallen = sizeof local, peerlen = sizeof peer;
    const int sock = static_cast<int>(fd);
    if (getsockname(sock, reinterpret_cast<sockaddr*>(&local), &locallen) != 0 ||
        getpeername(sock, reinterpret_cast<sockaddr*>(&peer), &peerlen) != 0) {
      continue;
    }
    if (sameendpoint(local, req.local_addr, req.local_port) &&
        sameendpoint(peer, req.remote_addr, req.remote_port)) {
      done = ::shutdown(sock, SHUT_RDWR) == 0;
      break;
    }
  }
  closedir(dir);
  return done;
}

// Where a cut answer stops: inside the client line that follows the middle
// of the body, so the copy ends mid-record.
std::size_t cutpoint(const std::string& body) {
  if (body.size() < 2) return 0;
  const std::size_t eol = body.find('\n', body.size() / 2);
  if (eol == std::string::npos || eol + 13 >= body.size()) return body.size() / 2;
  return eol + 13;
}

// The library matches paths as regular expressions.
std::string literalpattern(const std::string& path) {
  std::string pattern;
  for (char c : path) {
    if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern;
}

// The form HTTP dates take: "Sun, 06 Nov 1994 08:49:37 GMT".
constexpr const char* kHttpDate = "%a, %d %b %Y %H:%M:%S GMT";

std::string httpdate(std::int64_t unixtime) {
  const std::time_t t = static_cast<std::time_t>(unixtime);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[64];
  return std::string(text, std::strftime(text, sizeof text, kHttpDate, &tm));
}

std::optional<std::int64_t> readhttpdate(const std::string& text) {
  std::tm tm{};
  const char* end = strptime(text.c_str(), kHttpDate, &tm);
  if (!end || *end != '\0') return std::nullopt;
  return static_cast<std::int64_t>(timegm(&tm));
}

// Whether a conditional request already holds this version of the file. An
// If-None-Match decides alone when present, as HTTP has it.
bool unchangedfor(const httplib::Request& req, const std::string& etag, std::int64_t modified) {
  if (req.has_header("If-None-Match")) {
    const std::string tags = req.get_header_value("If-None-Match");
    return tags == "*" || tags.find(etag) != std::string::npos;
  }
  if (!req.has_header("If-Modified-Since")) return false;
  const std::optional<std::int64_t> since = readhttpdate(req.get_header_value("If-Modified-Since"));
  return since && modified <= *since;
}

// The encodings a request accepts, blanks removed, for the log; "-" if none.
std::string acceptedencodings(const httplib::Request& req) {
  std::string text = req.get_header_value("Accept-Encoding");
  std::erase(text, ' ');
  return text.empty() ? "-" : text;
}

}  // namespace

struct SimServer::Impl {
  std::unique_ptr<httplib::Server> http;
};

SimServer::SimServer(const Network& network, ServeOptions options)
    : network_(network), options_(std::move(options)), impl_(std::make_unique<Impl>()) {
  // Writing to a connection the client has dropped must not end the process.
  std::signal(SIGPIPE, SIG_IGN);
  if (!options_.tlscert.empty() && !options_.tlskey.empty()) {
    impl_->http = std::make_unique<httplib::SSLServer>(options_.tlscert.c_str(), options_.tlskey.c_str());
  } else {
    impl_->http = std::make_unique<httplib::Server>();
  }
  httplib::Server& http = *impl_->http;
  http.set_keep_alive_timeout(2);
  // Address reuse lets a restart bind again at once; the library's default
  // would also share the port with another running netsim, which then
  // answers half of the requests meant for this one.
  http.set_socket_options([](socket_t sock) {
    const int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  http.Get(literalpattern(options_.path),
           [this](const httplib::Request& req, httplib::Response& res) { answerstatus(req, res); });
  http.Get(R"(/redirect/(\d{1,2}))", [this](const httplib::Request& req, httplib::Response& res) {
    const int left = std::stoi(req.matches[1]);
    const std::string to = req.get_param_value("to");
    if (left > 1) {
      res.set_redirect("/redirect/" + std::to_string(left - 1) +
                       (to.empty() ? "" : "?to=" + httplib::detail::encode_query_param(to)));
    } else {
      res.set_redirect(to.empty() ? options_.path : to);
    }
  });
}

bool SimServer::usable() const { return impl_->http->is_valid(); }

void SimServer::answerstatus(const httplib::Request& req, httplib::Response& res) {
  const std::uint64_t n = requests_.fetch_add(1);
  Answer answer = decide(n);
  // The status file of the moment the request came in, also when the
  // answer waits: the log names the file before anything is sent.
  std::shared_ptr<const StatusFile> file;
  if (answer.kind == AnswerKind::Ok || answer.kind == AnswerKind::Cut) file = statusfile(clockat(n));
  if (answer.kind == AnswerKind::Ok && unchangedfor(req, file->etag, file->time)) {
    answer.kind = AnswerKind::NotModified;
  }
  if (options_.log) {
    const bool carries = answer.kind == AnswerKind::Ok || answer.kind == AnswerKind::Cut;
    const std::string_view header = !file ? std::string_view() : file->summary.empty() ? file->text : file->summary;
    options_.log->add(n, answer.kind, answer.waitms, carries ? header : std::string_view(), acceptedencodings(req));
  }
  if (answer.waitms > 0) {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(answer.waitms), [this] { return stopping_; });
  }
  switch (answer.kind) {
    case AnswerKind::Drop:
      if (hangup(req)) return;
      std::cerr << "netsim: could not find the connection to close\n";
      [[fallthrough]];
    case AnswerKind::Fail:
      res.status = options_.faults.failstatus;
      res.set_content("simulated failure\n", kContentType);
      return;
    case AnswerKind::Page:
      res.set_content(kPage, "text/html");
      return;
    case AnswerKind::Empty:
      res.set_content("", kContentType);
      return;
    case AnswerKind::NotModified:
      res.status = 304;
      [[fallthrough]];
    case AnswerKind::Ok:
      res.set_header("ETag", file->etag);
      res.set_header("Last-Modified", httpdate(file->time));
      // The library compresses the body for a client that asks for gzip.
      if (answer.kind == AnswerKind::Ok) res.set_content(file->text, contenttype());
      return;
    case AnswerKind::Cut:
      break;
  }
  // Declares the whole length, sends part of it, then closes the connection.
  const std::size_t stop = cutpoint(file->text);
  res.set_content_provider(
      file->text.size(), contenttype(),
      [file, stop](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        if (offset >= stop) return false;
        const std::size_t n = std::min({length, stop - offset, std::size_t{64} << 10});
        return sink.write(file->text.data() + offset, n);
      });
}

SimServer::Answer SimServer::decide(std::uint64_t n) const {
  const Faults& faults = options_.faults;
  Rng rng(mixkey(network_.seed() ^ 0xFA177u, n));
  // Every share draws once per request, so adding a fault to the options
  // does not change which requests meet the others.
  const bool drop = rng.unit() < faults.dropshare;
  const bool fail = rng.unit() < faults.failshare;
  const bool cut = rng.unit() < faults.cutshare;
  const bool slow = rng.unit() < faults.slowshare;
  const bool page = rng.unit() < faults.pageshare;
  const bool emptypage = rng.unit() < 0.5;
  Answer answer;
  answer.kind = drop   ? AnswerKind::Drop
                : fail ? AnswerKind::Fail
                : page ? (emptypage ? AnswerKind::Empty : AnswerKind::Page)
                : cut  ? AnswerKind::Cut
                       : AnswerKind::Ok;
  answer.waitms = static_cast<int>(std::min<std::int64_t>(
      INT_MAX, std::int64_t{faults.delayms} + (slow ? faults.slowms : 0)));
  return answer;
}

SimServer::~SimServer() { stop(); }

std::shared_ptr<const SimServer::StatusFile> SimServer::statusfile(std::int64_t unixtime) {
  // The network changes once a second, so clients polling together share
  // one status file.
  std::lock_guard<std::mutex> lock(cachemutex_);
  if (!cached_ || cached_->time != unixtime) {
    StatusFile file;
    file.text = snapshot(network_, unixtime, options_.snapshot);
    if (options_.snapshot.layout != Layout::Text) {
      file.summary = "!GENERAL\nUPDATE = " + timestamp(unixtime) +
                     "\nCONNECTED CLIENTS = " + std::to_string(network_.clients(unixtime).size()) + "\n!CLIENTS\n";
    }
    char tag[32];
    std::snprintf(tag, sizeof tag, "\"%016zx\"", std::hash<std::string>{}(file.text));
    file.etag = tag;
    file.time = unixtime;
    cached_ = std::make_shared<const StatusFile>(std::move(file));
  }
  return cached_;
}

const char* SimServer::contenttype() const {
  return options_.snapshot.layout == Layout::Text ? kContentType : "application/json";
}

std::int64_t SimServer::clockat(std::uint64_t n) const {
  if (!options_.fixedtime) return now();
  return *options_.fixedtime + options_.timestep * static_cast<std::int64_t>(n);
}

std::int64_t SimServer::now() const {
  return options_.fixedtime ? *options_.fixedtime : static_cast<std::int64_t>(std::time(nullptr));
}

int SimServer::bind(int port) {
  httplib::Server& http = *impl_->http;
  if (!http.is_valid()) return -1;
  if (port == 0) return http.bind_to_any_port(kHost);
  return http.bind_to_port(kHost, port) ? port : -1;
}

bool SimServer::run() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return true;
    running_ = true;
  }
  const bool served = impl_->http->listen_after_bind();
  std::lock_guard<std::mutex> lock(mutex_);
  running_ = false;
  return served;
}

void SimServer::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  // The library ignores a stop that comes before its accept loop has
  // started, so a stop right after run() waits for that moment.
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!running_) return;
    }
    if (impl_->http->is_running()) {
      impl_->http->stop();
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace netsim
