#pragma once

#include <httplib.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "feed/server_address.h"

namespace netglobe {

// An HTTP server on a free loopback port, run on its own thread for the
// lifetime of the object.
class LoopbackServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  explicit LoopbackServer(Handler handler) {
    server_.Get("/whazzup.txt", std::move(handler));
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~LoopbackServer() {
    server_.stop();
    thread_.join();
  }

  ServerAddress address() const { return {"127.0.0.1", port_}; }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace netglobe
