// netsim: the simulated network NetGlobe's demo and tests talk to.

#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <thread>

#include "options.h"
#include "population.h"
#include "sim_server.h"
#include "snapshot.h"
#include "world.h"

namespace {

// The reference data lies beside the executable, as NetGlobe's own does.
std::string programfolder() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string text(path, static_cast<std::size_t>(n));
  const std::size_t slash = text.rfind('/');
  return slash == std::string::npos ? "." : text.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv) {
  const netsim::ParsedOptions parsed =
      netsim::parseoptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::cerr << "netsim: " << parsed.error << "\nTry netsim --help.\n";
    return 2;
  }
  const netsim::Options& options = *parsed.options;
  if (options.help) {
    std::cout << netsim::helptext();
    return 0;
  }

  const std::string datadir = options.datadir.empty() ? programfolder() : options.datadir;
  const netsim::World world =
      netsim::loadworld(options.airportsfile.empty() ? datadir + "/airports.dat" : options.airportsfile,
                        options.firsfile.empty() ? datadir + "/firs.dat" : options.firsfile);
  if (world.builtinairports)
    std::cerr << "netsim: no usable airports.dat, using built-in airports\n";
  if (world.builtinfirs) std::cerr << "netsim: no usable firs.dat, using built-in FIRs\n";
  const netsim::Network network(world, options.seed, options.clients);

  if (options.once) {
    const std::int64_t now =
        options.time ? *options.time : static_cast<std::int64_t>(std::time(nullptr));
    const std::string text = netsim::snapshot(network, now, options.snapshot);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

  // Termination signals are taken by this thread alone, with sigwait, so the
  // server threads never run a handler.
  sigset_t stopsignals;
  sigemptyset(&stopsignals);
  sigaddset(&stopsignals, SIGTERM);
  sigaddset(&stopsignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopsignals, nullptr);

  std::optional<netsim::AnswerLog> log;
  if (!options.logpath.empty()) {
    log.emplace(options.logpath);
    if (!log->isopen()) {
      std::cerr << "netsim: cannot write " << options.logpath << "\n";
      return 1;
    }
  }
  netsim::SimServer server(network, {options.snapshot, options.faults, options.time,
                                     log ? &*log : nullptr, options.path, options.tlscert,
                                     options.tlskey, options.timestep});
  if (!server.usable()) {
    std::cerr << "netsim: cannot use the TLS certificate " << options.tlscert << " with the key "
              << options.tlskey << "\n";
    return 1;
  }
  const int port = server.bind(options.port);
  if (port <= 0) {
    std::cerr << "netsim: cannot listen on 127.0.0.1:" << options.port << "\n";
    return 1;
  }
  // The one line whoever started us waits for.
  std::cout << "netsim listening on 127.0.0.1:" << port << std::endl;

  bool served = true;
  std::thread serving([&] {
    served = server.run();
    // Wakes the main thread if serving ended on its own.
    kill(getpid(), SIGTERM);
  });
  int signal = 0;
  sigwait(&stopsignals, &signal);
  server.stop();
  serving.join();
  return served ? 0 : 1;
}
