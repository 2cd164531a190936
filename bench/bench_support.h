#pragma once

#include <cstdint>
#include <string>
#include <thread>

#include "feed/server_address.h"
#include "sim_server.h"

#include "population.h"

namespace netbench {

// Every benchmark reads the network at this moment, so runs compare.
inline constexpr std::int64_t kTime = 1765100000;
inline constexpr std::uint64_t kSeed = 1;

// The simulated network with the built-in reference data (the same on every
// machine, whatever data files lie beside the program).
const netsim::Network& network(int clients);

// A folder for the local copies, removed when the program ends.
const std::string& scratchfolder();

// The local copy of a snapshot of the given size, as a refresh stores it.
std::string storedsnapshot(int clients);

// Refresh step of a network that moves on: the status text of the moment
// kTime + step * 30 s as a refresh keeps it (program encoding and line ends).
std::string movingsnapshot(int clients, int step);

// netsim serving the network of the given size at kTime, on loopback, on a
// thread of its own for the whole run.
class NetsimServer {
 public:
  explicit NetsimServer(int clients);
  ~NetsimServer();
  NetsimServer(const NetsimServer&) = delete;
  NetsimServer& operator=(const NetsimServer&) = delete;
  netglobe::ServerAddress address() const { return {"127.0.0.1", port_}; }

 private:
  netsim::SimServer server_;
  int port_ = -1;
  std::thread thread_;
};

// One server per size for the whole run.
const NetsimServer& netsimserver(int clients);

}  // namespace netbench
