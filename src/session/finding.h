#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "feed/status_lists.h"
#include "lists/client_follow.h"
#include "lists/client_index.h"
#include "lists/client_search.h"
#include "lists/flight_details.h"
#include "lists/side_lists.h"
#include "scene/view_status.h"
#include "refdata/directories.h"
#include "session/effects.h"

namespace netglobe {

// Finding clients: the search field and its matches, the side-list rows'
// clients, the flight to a client, its marker, and following a pilot from
// refresh to refresh. The view it flies is the session's.
class Finding {
 public:
  // What a chosen match or row opens in the details panel.
  struct Opens {
    enum Kind { Nothing, Pilot, Aerodrome } kind = Nothing;
    std::string callsign, memberid;  // Pilot
    std::string code;                // Aerodrome
  };
  // The airport directory: a whole aerodrome code typed into the search
  // is found there.
  void setairports(const AirportDirectory* airports) { airports_ = airports; }

  Effects opensearch();
  Effects closesearch();
  Effects searchfor(const std::string& text);
  Effects choosematch(std::size_t match, ViewState& view);
  Effects choosesidelistrow(int box, std::size_t row, ViewState& view);
  // Matches found elsewhere (what the globe filter keeps) in place of the
  // search's own, with the line under them.
  Effects listmatches(ClientSearch found, std::string footer);
  // What the last choice opens in the details panel; the pilot list on
  // screen tells the aerodrome of an inbound or outbound row.
  Opens opened(const StatusLists& shown) const;
  // Flies to a pilot named by a line of the details panel.
  Effects flytopilot(const RowClient& pilot, ViewState& view);

  // The clients of a side list's rows and the index of the copy they come from.
  void setrows(int box, std::vector<RowClient> clients, std::shared_ptr<const ClientIndex> index);
  // The index the search reads from now on.
  void setindex(std::shared_ptr<const ClientIndex> index) { index_ = std::move(index); }

  // The flight to a client has arrived: its marker, its summary over the
  // drawn lists, and a pilot is followed.
  void arrived(Effects& out, const StatusLists& shown);
  // A new refresh is shown: the followed pilot's new place, or the end of following.
  void followafterrefresh(Effects& out, ViewState& view, const StatusLists& shown);
  void stopfollowing();

  bool searchopen() const { return searchopen_; }
  bool flying() const { return flyingto_.has_value(); }
  const std::optional<FollowedPilot>& following() const { return following_; }

 private:
  Effects showsearch(std::string footer) const;
  Effects flyto(const ClientEntry& client, ViewState& view);
  std::string summaryof(const ClientEntry& client, const StatusLists& shown) const;

  // Every client of the copy shown, for the search and following.
  std::shared_ptr<const ClientIndex> index_ = std::make_shared<const ClientIndex>();
  struct Rows {
    std::vector<RowClient> clients;  // whom each row names
    std::shared_ptr<const ClientIndex> index = std::make_shared<const ClientIndex>();
  };
  std::array<Rows, 6> rows_;
  ClientSearch search_;
  bool searchopen_ = false;
  std::optional<ClientEntry> flyingto_;  // a flight to a client under way
  std::optional<FollowedPilot> following_;
  const AirportDirectory* airports_ = nullptr;
  std::optional<AerodromeName> airportmatch_;  // the aerodrome whose code was searched for
  bool flyingtoaerodrome_ = false;
  // The last choice: a client (with the side-list box it came from, 0 for
  // the search) or the aerodrome match.
  std::optional<ClientEntry> chosen_;
  int chosenbox_ = 0;
  bool chosenaerodrome_ = false;
};

}  // namespace netglobe
