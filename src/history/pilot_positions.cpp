#include "history/pilot_positions.h"

#include <algorithm>

#include "base/number_text.h"
#include "feed/client_fields.h"
#include "feed/client_lines.h"
#include "feed/status_parser.h"
#include "history/history_format.h"
#include "history/history_store.h"

namespace netglobe {

std::uint64_t pilotkey(std::string_view callsign, std::string_view memberid) {
  return historyhash(memberid, historyhash(callsign));
}

PilotPosition pilotposition(std::string_view callsign, std::string_view memberid, double lat,
                            double lon) {
  return {std::string(callsign), std::string(memberid), lat, lon, pilotkey(callsign, memberid),
          getxyz(lat, lon, 0)};
}

std::vector<PilotPosition> decodepositions(std::string_view text) {
  std::vector<PilotPosition> pilots;
  ClientLines reader(LineReader::fromtext(text));
  std::string line;
  while (reader.next(line)) {
    if (!line.empty() && line[0] == '!') break;
    if (!classifyclient(line).pilot) continue;
    const ClientFields f(line, kLongitude);
    if (!haspositionfields(f(kLatitude), f(kLongitude))) continue;  // no fix, as no disc
    pilots.push_back(pilotposition(f(kCallsign), f(kMemberId), leadingnumber(f(kLatitude)),
                                   leadingnumber(f(kLongitude))));
  }
  return pilots;
}

int PositionFrames::update(HistoryStore& store, std::int64_t endms, std::int64_t windowms) {
  const auto inwindow = [&](std::int64_t t) { return t > endms - windowms && t <= endms; };
  std::vector<PositionFrame> next;
  int decoded = 0;
  for (std::size_t i = 0; i < store.size(); ++i) {
    const KeptRefresh& kept = store.at(i);
    if (!inwindow(kept.receiptms)) continue;
    const auto have = std::find_if(frames_.begin(), frames_.end(),
                                   [&](const PositionFrame& f) { return f.serial == kept.serial; });
    if (have != frames_.end()) {
      next.push_back(std::move(*have));
      continue;
    }
    const HistoryText text = store.read(i);
    if (!text.ok) continue;
    next.push_back({kept.serial, kept.receiptms, decodepositions(text.text)});
    ++decoded;
  }
  frames_ = std::move(next);
  return decoded;
}

}  // namespace netglobe
