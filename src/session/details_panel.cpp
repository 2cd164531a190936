#include "session/details_panel.h"

#include <utility>

namespace netglobe {

void DetailsPanel::openpilot(std::string callsign, std::string memberid) {
  subject_ = Subject::Pilot;
  callsign_ = std::move(callsign);
  memberid_ = std::move(memberid);
  last_ = {};
}

void DetailsPanel::openaerodrome(std::string code) {
  subject_ = Subject::Aerodrome;
  code_ = std::move(code);
  last_ = {};
}

void DetailsPanel::close() {
  subject_ = Subject::None;
  last_ = {};
}

DetailsPanel::Shown DetailsPanel::show(const StatusLists& lists, const AirportDirectory& airports) {
  Shown shown;
  switch (subject_) {
    case Subject::None: return shown;
    case Subject::Aerodrome:
      last_ = aerodromeview(aerodromedetails(code_, lists, airports));
      break;
    case Subject::Pilot: {
      const std::string* line = findpilotline(lists, callsign_, memberid_);
      if (!line) {
        if (last_.lines.empty()) last_ = DetailsView{true, "Flight", {{callsign_, false, std::nullopt}}, false};
        if (!last_.gone) {
          last_.gone = true;
          last_.title = "Flight: " + callsign_ + " is no longer connected";
        }
        break;
      }
      const PilotDetails pilot = pilotdetails(*line, airports);
      last_ = pilotview(pilot);
      PanelFlight flight{callsign_, memberid_, {}, {}, {}, {}};
      if (const auto to = pilot.lineto()) {
        flight.lat = pilot.place->lat;
        flight.lon = pilot.place->lon;
        flight.destlat = to->lat;
        flight.destlon = to->lon;
      }
      shown.flight = std::move(flight);
      break;
    }
  }
  shown.view = last_;
  return shown;
}

std::optional<RowClient> DetailsPanel::target(std::size_t line) const {
  if (line >= last_.lines.size()) return std::nullopt;
  return last_.lines[line].target;
}

}  // namespace netglobe
