#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim_server.h"

namespace netsim {

struct Options {
  int port = 0;  // 0: any free port
  std::uint64_t seed = 1;
  int clients = 600;
  std::optional<std::int64_t> time;  // fixed clock; the wall clock when empty
  std::int64_t timestep = 0;          // with time: seconds the clock moves on each request
  std::string datadir;               // empty: the folder of the executable
  std::string airportsfile;          // empty: airports.dat in datadir
  std::string firsfile;              // empty: firs.dat in datadir
  std::string logpath;               // the answer log; none when empty
  std::string path = "/whazzup.txt"; // where the status file is served
  std::string tlscert;               // with tlskey: serve over TLS
  std::string tlskey;
  bool once = false;                 // print one status file and exit
  bool help = false;
  SnapshotOptions snapshot;
  Faults faults;
};

struct ParsedOptions {
  std::optional<Options> options;
  std::string error;  // why options is empty
};

// Reads the command line (without the program name). Every option takes the
// forms "--name value" and "--name=value".
ParsedOptions parseoptions(const std::vector<std::string>& args);

std::string helptext();

}  // namespace netsim
