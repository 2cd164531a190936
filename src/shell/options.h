#pragma once

#include <optional>
#include <string>
#include <vector>

#include "feed/feed_source.h"
#include "history/history_option.h"

namespace netglobe {

inline constexpr const char* kProductTitle = "NetGlobe";
inline constexpr const char* kServerEnvVar = "NETGLOBE_SERVER";
inline constexpr const char* kUrlEnvVar = "NETGLOBE_URL";

struct Options {
  std::optional<FeedSource> source;     // none: the built-in demo network
  std::string folder;                   // empty: chosen by chooseprogramfolders()
  int refreshseconds = 30;              // interval of the status download
  HistoryRetention history = HistoryRetention::hours(kDefaultHistoryHours);
  bool quiet = false;                   // no desktop notifications
  // --home: the aerodromes of the inbound and outbound lists for this run.
  std::optional<std::vector<std::string>> homeairports;
  bool help = false;
  bool version = false;
};

struct OptionsResult {
  Options options;
  std::string error;  // non-empty: what was wrong with the command line
};

// args without the program name; serverenv and urlenv are NETGLOBE_SERVER
// and NETGLOBE_URL (nullptr if unset). --server or --url wins over both
// variables; two sources given on one level are a mistake. A --cacert file
// must be readable.
OptionsResult parseoptions(const std::vector<std::string>& args, const char* serverenv,
                           const char* urlenv = nullptr);

std::string usagetext();

}  // namespace netglobe
