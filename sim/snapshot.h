#pragma once

#include <cstdint>
#include <string>

#include "population.h"

namespace netsim {

// The ways a client line of a broken status file can be broken.
enum class Malformed {
  TooManyFields,      // far more than the 100 positions of a field buffer
  MissingFields,      // cut off after a few fields
  InvalidUtf8,        // bytes that are no text in UTF-8
  HugeLine,           // several megabytes in one line
  TypeOutsideWindow,  // ":ATC:" / ":PILOT:" before character 16 or after 70
};
inline constexpr int kMalformedKinds = 5;
inline constexpr std::size_t kHugeLineBytes = 3u << 20;

// The formats a network publishes its status in: the colon-separated text,
// or one of the two JSON documents of today's networks.
enum class Layout { Text, A, B };

struct SnapshotOptions {
  bool crlf = false;    // CR LF line ends instead of LF (text layout)
  double badshare = 0;  // share of client lines (or JSON entries) that come out malformed
  // The other layout servers of this format write: a seventh header line,
  // the client section marker on line 8, and 49 fields per client line.
  bool markerline8 = false;
  Layout layout = Layout::Text;
};

// The status file of the network at unixtime in the layout of the options.
// The text layout: seven header lines, one line per client, then the server
// list, UTF-8 text. JSON layouts: see jsonsnapshot.
std::string snapshot(const Network& network, std::int64_t unixtime,
                     const SnapshotOptions& options = {});

// Breaks a well-formed client line in the given way; variant picks among the
// forms of one kind.
std::string malform(const std::string& line, Malformed kind, std::uint64_t variant);

}  // namespace netsim
