#pragma once

#include <QProcess>
#include <optional>
#include <string>

#include "base/reference_files.h"
#include "feed/server_address.h"

namespace netglobe {

// The built-in demo network: the netsim executable beside netglobe, started
// on a free loopback port when no status server is configured. It never
// outlives this process, not even when this process is killed.
class DemoNetwork {
 public:
  DemoNetwork() = default;
  ~DemoNetwork();
  DemoNetwork(const DemoNetwork&) = delete;
  DemoNetwork& operator=(const DemoNetwork&) = delete;

  // Starts netsim from exefolder on the airports and FIRs that netglobe
  // itself reads and waits until it answers; on failure returns nullopt and
  // says why in error.
  std::optional<ServerAddress> start(const std::string& exefolder, const ReferenceFiles& files,
                                     std::string& error);
  void stop();

 private:
  QProcess process_;
};

// The port in netsim's readiness line "netsim listening on 127.0.0.1:PORT",
// or 0 when the line is not that.
int readinessport(const std::string& line);

}  // namespace netglobe
