#include "session/finding.h"

#include "layers/marker_ring.h"
#include "lists/pick_decode.h"
#include "scene/flight.h"

namespace netglobe {

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
  return showsearch(searchfooter(search_));
}

Effects Finding::showsearch(std::string footer) const {
  Effects out;
  SearchView view{true, {}, std::move(footer)};
  for (const ClientMatch& match : search_.matches) view.rows.push_back(searchrow(match.client));
  out.search = std::move(view);
  return out;
}

Effects Finding::choosematch(std::size_t match, ViewState& view) {
  if (match >= search_.matches.size()) return {};
  const ClientEntry& client = search_.matches[match].client;
  // Without a position the field says so, stays open, and the view stays.
  if (!client.place) return showsearch(client.callsign + " has no position");
  return flyto(ClientEntry(client), view);
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
  Effects out;
  if (!client) {
    out.summary = named.callsign + " not found";
  } else if (!client->place) {
    out.summary = client->callsign + " has no position";
  } else {
    out = flyto(ClientEntry(*client), view);
  }
  return out;
}

Effects Finding::flyto(const ClientEntry& client, ViewState& view) {
  stopfollowing();
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
  out.summary = summaryof(client, shown);
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
