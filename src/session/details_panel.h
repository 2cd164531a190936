#pragma once

#include <optional>
#include <string>

#include "feed/status_lists.h"
#include "layers/destination_line.h"
#include "lists/flight_details.h"
#include "refdata/directories.h"

namespace netglobe {

// What the details panel is about, and what it showed last: it follows its
// pilot (same callsign and member id) or its aerodrome from one set of
// status lists to the next.
class DetailsPanel {
 public:
  bool isopen() const { return subject_ != Subject::None; }
  void openpilot(std::string callsign, std::string memberid);
  void openaerodrome(std::string code);
  void close();

  struct Shown {
    DetailsView view;
    std::optional<PanelFlight> flight;  // the pilot's line and trail, when there is a pilot
  };
  // The panel against the lists on screen. A pilot not in them any more
  // keeps the last values, marked gone, and draws nothing on the globe.
  Shown show(const StatusLists& lists, const AirportDirectory& airports);

  // Whom line (of the last view) names; none for a line without a pilot.
  std::optional<RowClient> target(std::size_t line) const;

 private:
  enum class Subject { None, Pilot, Aerodrome };
  Subject subject_ = Subject::None;
  std::string callsign_, memberid_, code_;
  DetailsView last_;
};

}  // namespace netglobe
