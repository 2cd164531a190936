#pragma once

#include <httplib.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "feed/server_address.h"

namespace netglobe {

// An HTTP server on a free loopback port, run on its own thread for the
// lifetime of the object; HTTPS when given a certificate and its key.
class LoopbackServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;
  struct Tls {
    std::string cert;
    std::string key;
  };

  explicit LoopbackServer(Handler handler, const std::string& pattern = "/whazzup.txt",
                          const Tls* tls = nullptr)
      : server_(tls ? std::make_unique<httplib::SSLServer>(tls->cert.c_str(), tls->key.c_str())
                    : std::make_unique<httplib::Server>()),
        scheme_(tls ? "https" : "http") {
    server_->Get(pattern, std::move(handler));
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~LoopbackServer() {
    server_->stop();
    thread_.join();
  }

  ServerAddress address() const { return {"127.0.0.1", port_}; }
  std::string url(const std::string& path, const std::string& host = "127.0.0.1") const {
    return scheme_ + "://" + host + ":" + std::to_string(port_) + path;
  }

 private:
  std::unique_ptr<httplib::Server> server_;
  std::string scheme_;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace netglobe
