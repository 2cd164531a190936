#include "bench_support.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>

#include "feed/status_copy.h"
#include "base/text_encoding.h"
#include "snapshot.h"
#include "world.h"

namespace netbench {

const netsim::Network& network(int clients) {
  static std::map<int, std::unique_ptr<netsim::Network>> networks;
  auto& net = networks[clients];
  if (!net) net = std::make_unique<netsim::Network>(netsim::builtinworld(), kSeed, clients);
  return *net;
}

namespace {

struct Scratch {
  std::string path;
  Scratch() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "netglobe-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    path = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

const std::string& scratchfolder() {
  static const Scratch scratch;
  return scratch.path;
}

std::string storedsnapshot(int clients) {
  const std::string path = scratchfolder() + "/whazzup-" + std::to_string(clients) + ".txt";
  const std::string text =
      netglobe::convertlineends(netglobe::tocp1252(netsim::snapshot(network(clients), kTime)));
  const std::string failure = netglobe::storecopy(path, text);
  if (!failure.empty()) throw std::runtime_error(failure);
  return path;
}

std::string movingsnapshot(int clients, int step) {
  return netglobe::convertlineends(
      netglobe::tocp1252(netsim::snapshot(network(clients), kTime + 30 * std::int64_t(step))));
}

NetsimServer::NetsimServer(int clients) : server_(network(clients), {{}, {}, kTime}) {
  port_ = server_.bind(0);
  thread_ = std::thread([this] { server_.run(); });
}

NetsimServer::~NetsimServer() {
  server_.stop();
  thread_.join();
}

const NetsimServer& netsimserver(int clients) {
  static std::map<int, std::unique_ptr<NetsimServer>> servers;
  auto& s = servers[clients];
  if (!s) s = std::make_unique<NetsimServer>(clients);
  return *s;
}

}  // namespace netbench
