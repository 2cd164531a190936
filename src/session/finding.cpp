#include "session/finding.h"

#include "feed/client_fields.h"
#include "layers/marker_ring.h"
#include "refdata/home_file.h"
#include "lists/pick_decode.h"
#include "scene/flight.h"

namespace netglobe {

namespace {

constexpr int kDeparture = 12;  // the pilot line's departure aerodrome

}  // namespace

Effects Finding::opensearch() {
  searchopen_ = true;
  Effects out;
  out.search = SearchView{true, {}, {}};
  return out;
}

Effects Finding::closesearch() {
  searchopen_ = false;
  Effects out;
  out.search = SearchView{};
  out.focusstatus = true;
  return out;
}

Effects Finding::searchfor(const std::string& text) {
  search_ = searchclients(*index_, text);
  // A whole aerodrome code of the directory comes first.
  airportmatch_.reset();
  std::string_view code = text;
  while (!code.empty() && code.front() == ' ') code.remove_prefix(1);
  while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
  if (const std::string icao = homecode(code); !icao.empty() && airports_) {
    AerodromeName found = aerodromename(icao, *airports_);
    if (found.place) airportmatch_ = std::move(found);
  }
  std::string footer = searchfooter(search_);
  if (airportmatch_ && search_.total == 0) footer.clear();
  return showsearch(std::move(footer));
}

Effects Finding::showsearch(std::string footer) const {
  Effects out;
  SearchView view{true, {}, std::move(footer)};
  if (airportmatch_) view.rows.push_back(airportmatch_->code + " APT> " + airportmatch_->name);
  for (const ClientMatch& match : search_.matches) view.rows.push_back(searchrow(match.client));
  out.search = std::move(view);
  return out;
}

Effects Finding::listmatches(ClientSearch found, std::string footer) {
  search_ = std::move(found);
  return showsearch(std::move(footer));
}

Effects Finding::choosematch(std::size_t match, ViewState& view) {
  chosen_.reset();
  if (airportmatch_) {
    if (match == 0) {
      const AerodromeName& a = *airportmatch_;
      Effects out = flyto(ClientEntry{a.code, "", a.name, ClientKind::Other, a.place}, view);
      flyingtoaerodrome_ = chosenaerodrome_ = true;
      return out;
    }
    --match;
  }
  if (match >= search_.matches.size()) return {};
  const ClientEntry& client = search_.matches[match].client;
  // Without a position the field says so, stays open, and the view stays.
  if (!client.place) return showsearch(client.callsign + " has no position");
  Effects out = flyto(ClientEntry(client), view);
  chosen_ = client;
  return out;
}

Finding::Opens Finding::opened(const StatusLists& shown) const {
  Opens opens;
  if (chosenaerodrome_ && flyingto_) {
    opens.kind = Opens::Aerodrome;
    opens.code = flyingto_->callsign;
    return opens;
  }
  if (!chosen_) return opens;
  // An inbound or outbound row is about its home aerodrome; a pilot's
  // other rows and matches about the flight.
  if (chosenbox_ == 5 || chosenbox_ == 6) {
    if (const std::string* line = findpilotline(shown, chosen_->callsign, chosen_->memberid)) {
      const ClientFields f(*line, kDestination);
      opens.kind = Opens::Aerodrome;
      opens.code = f(chosenbox_ == 5 ? kDestination : kDeparture);
      return opens;
    }
  }
  if (chosen_->kind == ClientKind::Pilot) {
    opens.kind = Opens::Pilot;
    opens.callsign = chosen_->callsign;
    opens.memberid = chosen_->memberid;
  }
  return opens;
}

Effects Finding::flytopilot(const RowClient& pilot, ViewState& view) {
  chosen_.reset();
  const ClientEntry* client = index_->find(pilot.callsign, pilot.memberid);
  Effects out;
  if (client && client->place) return flyto(ClientEntry(*client), view);
  out.summary = pilot.callsign + (client ? " has no position" : " not found");
  return out;
}

void Finding::setrows(int box, std::vector<RowClient> clients, std::shared_ptr<const ClientIndex> index) {
  if (box < 1 || box > int(rows_.size())) return;
  rows_[std::size_t(box - 1)] = Rows{std::move(clients), std::move(index)};
}

Effects Finding::choosesidelistrow(int box, std::size_t row, ViewState& view) {
  if (box < 1 || box > int(rows_.size())) return {};
  const Rows& rows = rows_[std::size_t(box - 1)];
  if (row >= rows.clients.size()) return {};
  const RowClient& named = rows.clients[row];
  // The row's own copy: while a refresh is shown list by list, rows of
  // the old copy and of the new stand side by side.
  const ClientEntry* client = rows.index->find(named.callsign, named.memberid);
  chosen_.reset();
  Effects out;
  if (!client) {
    out.summary = named.callsign + " not found";
  } else if (!client->place) {
    out.summary = client->callsign + " has no position";
  } else {
    out = flyto(ClientEntry(*client), view);
    chosen_ = *client;
    chosenbox_ = box;
  }
  return out;
}

Effects Finding::flyto(const ClientEntry& client, ViewState& view) {
  stopfollowing();
  flyingtoaerodrome_ = chosenaerodrome_ = false;
  chosenbox_ = 0;
  view = flighttoclient(view, client.place->lat, client.place->lon);
  flyingto_ = client;
  searchopen_ = false;
  Effects out;
  out.search = SearchView{};
  out.timers = {{TimerId::Flight, true}};
  out.focusstatus = true;
  out.render = true;
  return out;
}

void Finding::arrived(Effects& out, const StatusLists& shown) {
  if (!flyingto_) return;
  const ClientEntry client = std::move(*flyingto_);
  flyingto_.reset();
  out.layers.push_back(drawmarker(client.place->lat, client.place->lon));
  out.timers.push_back({TimerId::Marker, true});
  out.render = true;
  out.summary = flyingtoaerodrome_ ? client.callsign + " " + client.name : summaryof(client, shown);
  flyingtoaerodrome_ = false;
  if (client.kind == ClientKind::Pilot) {
    following_ = followedpilot(client);
    *out.summary += " (followed)";
  }
}

void Finding::followafterrefresh(Effects& out, ViewState& view, const StatusLists& shown) {
  if (!following_) return;
  const FollowStep step = follow(*index_, *following_);
  if (step.state == FollowState::Gone) {
    out.summary = following_->callsign + " is gone; no longer followed";
    following_.reset();
    return;
  }
  if (step.state == FollowState::Found) centreon(view, step.place.lat, step.place.lon);
  if (const ClientEntry* client = index_->find(following_->callsign, following_->memberid)) {
    out.summary = summaryof(*client, shown) + " (followed)";
  }
  out.render = true;
}

std::string Finding::summaryof(const ClientEntry& client, const StatusLists& shown) const {
  // The summary a pick over the client gives, when it is drawn.
  const std::string summary = drawnsummary(shown, client.callsign, client.memberid);
  return summary.empty() ? client.callsign + " not drawn" : summary;
}

void Finding::stopfollowing() {
  following_.reset();
  flyingto_.reset();
}

}  // namespace netglobe
