#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "answer_log.h"
#include "population.h"
#include "snapshot.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace netsim {

// The faults the server injects so that the refresh can be tested against a
// misbehaving network. Shares are probabilities per request, 0 to 1.
struct Faults {
  double failshare = 0;  // answered with failstatus and no status file
  int failstatus = 503;
  int delayms = 0;       // every answer waits this long first
  double cutshare = 0;   // body cut off mid-line: fewer bytes than declared
  double dropshare = 0;  // connection closed without any answer
  double slowshare = 0;  // these answers wait slowms more on top of delayms
  int slowms = 25000;    // past NetGlobe's 20 s request time-out
  double pageshare = 0;  // 2xx with an HTML page or an empty body instead
};

struct ServeOptions {
  SnapshotOptions snapshot;
  Faults faults;
  std::optional<std::int64_t> fixedtime;  // the network's clock; wall clock when empty
  AnswerLog* log = nullptr;               // told of every answer when set
  std::string path = "/whazzup.txt";      // where the status file is served
  std::string tlscert{};                  // PEM certificate (chain) and key:
  std::string tlskey{};                   // served over TLS when both are set
  // With a fixed clock: request n sees the network timestep * n seconds
  // later, a network in fast motion for demos and tests of history.
  std::int64_t timestep = 0;
};

// Serves the status file over HTTP or HTTPS on 127.0.0.1 only, as a cache in
// front of a real server would: compressed for clients that ask (gzip),
// with an ETag and a Last-Modified that conditional requests are answered
// 304 Not Modified by while the file stays the same. GET /redirect/N
// redirects N times before it leads to the status file, or to the URL in
// its query parameter "to".
class SimServer {
 public:
  SimServer(const Network& network, ServeOptions options);
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  // False when the TLS certificate or key could not be used.
  bool usable() const;

  // Binds to port (0: any free port) and listens; returns the port, or -1.
  int bind(int port);
  // Answers requests until stop(); false when it could not serve at all.
  bool run();
  // Safe from any thread, also before run().
  void stop();

  std::uint64_t requests() const { return requests_.load(); }
  std::int64_t now() const;
  // The network's clock for request number n.
  std::int64_t clockat(std::uint64_t n) const;

 private:
  struct StatusFile {
    std::string text;
    std::string summary;  // the text layout's header lines, for the log
    std::string etag;
    std::int64_t time = 0;
  };
  std::shared_ptr<const StatusFile> statusfile(std::int64_t unixtime);
  void answerstatus(const httplib::Request& req, httplib::Response& res);
  struct Answer {
    AnswerKind kind = AnswerKind::Ok;
    int waitms = 0;
  };
  // What request number n meets; the same seed always gives the same series.
  Answer decide(std::uint64_t n) const;
  const char* contenttype() const;

  struct Impl;
  const Network& network_;
  ServeOptions options_;
  std::unique_ptr<Impl> impl_;
  std::atomic<std::uint64_t> requests_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool running_ = false;  // inside run()
  std::mutex cachemutex_;
  std::shared_ptr<const StatusFile> cached_;
};

}  // namespace netsim
