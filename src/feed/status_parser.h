#pragma once

#include <string>
#include <string_view>

#include "base/line_reader.h"
#include "feed/status_lists.h"

namespace netglobe {

// Which lists a client line belongs to (a line may belong to several, or to
// none and only count as a client). Position 4, the type field, says
// whether it is a station or a pilot, wherever it starts; a line whose type
// field holds neither type is a station or a pilot when ":ATC:" or
// ":PILOT:" starts at character 16 or later and ends by character 70. A
// station's kind comes from its callsign's suffix within those 70.
struct ClientKinds {
  bool atc = false;  // the type field says ATC, whatever the callsign's suffix
  int app = 0;  // 0, 1 or 2: "_APP:" and "_DEP:" each add it once
  bool ctr = false;
  int twr = 0;  // "_TWR:" and "_GND:" each add it once
  bool pilot = false;
};
ClientKinds classifyclient(std::string_view line);

// Reads the status file at path into lists: skips the header (and a client
// section marker right after it), sorts the client lines up to the first
// line beginning with '!', raises topcount.
// A missing or short file gives zero counts.
void what2array(const std::string& path, StatusLists& lists);
// The same over the copy's content (text in memory, for instance).
void what2array(LineReader copy, StatusLists& lists);

// " CTR=4 APP=7 TWR=12 PIL=180 CLI=215 TOP=260"
std::string countstitle(const StatusLists& lists);

}  // namespace netglobe
