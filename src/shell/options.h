#pragma once

#include <optional>
#include <string>
#include <vector>

#include "feed/server_address.h"
#include "history/history_option.h"

namespace netglobe {

inline constexpr const char* kProductTitle = "NetGlobe";
inline constexpr const char* kServerEnvVar = "NETGLOBE_SERVER";

struct Options {
  std::optional<ServerAddress> server;  // none: the built-in demo network
  std::string folder;                   // empty: chosen by chooseprogramfolders()
  int refreshseconds = 30;              // interval of the status download
  HistoryRetention history = HistoryRetention::hours(kDefaultHistoryHours);
  bool help = false;
  bool version = false;
};

struct OptionsResult {
  Options options;
  std::string error;  // non-empty: what was wrong with the command line
};

// args without the program name; serverenv is NETGLOBE_SERVER (nullptr if
// unset). --server wins over the environment.
OptionsResult parseoptions(const std::vector<std::string>& args, const char* serverenv);

std::string usagetext();

}  // namespace netglobe
