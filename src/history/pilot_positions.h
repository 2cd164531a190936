#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "geo/globe_coords.h"

namespace netglobe {

class HistoryStore;

// Where one pilot was in one refresh.
struct PilotPosition {
  std::string callsign;  // position 1
  std::string memberid;  // position 2
  double lat = 0;        // position 6, read as the aircraft layer reads it
  double lon = 0;        // position 7
  std::uint64_t key = 0; // pilotkey(callsign, memberid)
  // getxyz(lat, lon, 0), worked out once: a trail passes through the same
  // position at every rebuild for half an hour.
  GlobePoint at;
};

// The same pilot is the same callsign with the same member id; the key lets
// a lookup compare one number before it compares the texts.
std::uint64_t pilotkey(std::string_view callsign, std::string_view memberid);

PilotPosition pilotposition(std::string_view callsign, std::string_view memberid, double lat,
                            double lon);

// The pilots of a status text read by the status parser's rules (header
// skipped, client lines up to the first "!" line, a pilot by its type
// field), every one that reports a position.
std::vector<PilotPosition> decodepositions(std::string_view text);

// The decoded pilots of one kept refresh.
struct PositionFrame {
  std::uint64_t serial = 0;   // KeptRefresh::serial
  std::int64_t receiptms = 0;
  std::vector<PilotPosition> pilots;
};

// Positions of the kept refreshes received within a window before an end
// time, decoded once per kept refresh and kept while they stay in the window.
class PositionFrames {
 public:
  // Brings the frames to the kept refreshes of (endms - windowms, endms]:
  // drops the others, reads and decodes the missing ones. Returns how many
  // were decoded (refreshes that cannot be read back are left out).
  int update(HistoryStore& store, std::int64_t endms, std::int64_t windowms);
  // Oldest first.
  const std::vector<PositionFrame>& frames() const { return frames_; }

 private:
  std::vector<PositionFrame> frames_;
};

}  // namespace netglobe
