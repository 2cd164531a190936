// The details panel: what a click, a search match or a side-list row opens,
// and the home region that the station and traffic lists are drawn from.
#include <optional>
#include <string>
#include <vector>

#include "feed/client_fields.h"
#include "scene/pick_names.h"
#include "session/session.h"

namespace netglobe {

HomeRegion Session::homeregion() const {
  HomeRegion region = home_.region();
  if (homeairports_) region.airports = *homeairports_;
  return region;
}

void Session::clickat(Effects& out) {
  const PickTarget target = decodepick(underpointer_);
  const auto lineof = [&](const std::vector<std::string>& lines, int count) -> const std::string* {
    if (target.index < 1 || target.index > count || target.index >= int(lines.size())) return nullptr;
    return &lines[std::size_t(target.index)];
  };
  Finding::Opens opens;
  switch (target.kind) {
    case PickKind::Aircraft:
      if (const std::string* line = lineof(shown_.pillines, shown_.pilcount)) {
        const ClientFields f(*line, kMemberId);
        opens = {Finding::Opens::Pilot, std::string(f(kCallsign)), std::string(f(kMemberId)), {}};
      }
      break;
    case PickKind::Approach:
    case PickKind::Tower:
      if (const std::string* line = target.kind == PickKind::Approach ? lineof(shown_.applines, shown_.appcount)
                                                                      : lineof(shown_.twrlines, shown_.twrcount)) {
        opens = {Finding::Opens::Aerodrome, {}, {}, line->substr(0, 4)};
      }
      break;
    case PickKind::ActiveFir:
    case PickKind::None: break;
  }
  opendetails(opens, out);
}

void Session::opendetails(const Finding::Opens& opens, Effects& out) {
  switch (opens.kind) {
    case Finding::Opens::Nothing: return;
    case Finding::Opens::Pilot: details_.openpilot(opens.callsign, opens.memberid); break;
    case Finding::Opens::Aerodrome: details_.openaerodrome(opens.code); break;
  }
  showdetails(out);
}

void Session::showdetails(Effects& out, bool readkept) {
  DetailsPanel::Shown shown = details_.show(unfiltered_, refs_.airports);
  addlayer(replay_.panelflight(shown.flight, nowms(), readkept), out);
  scene_.details = shown.flight ? 1 : -1;
  out.details = std::move(shown.view);
  out.render = true;
}

Effects Session::closedetails() {
  Effects out;
  details_.close();
  scene_.details = -1;
  addlayer(drawpanelflight(std::nullopt, {}, 0), out);
  out.details = DetailsView{};
  out.focusstatus = !finding_.searchopen();
  out.render = true;
  return out;
}

Effects Session::choosedetailsline(std::size_t line) {
  const std::optional<RowClient> pilot = details_.target(line);
  if (!pilot) return {};
  Effects out = finding_.flytopilot(*pilot, view_);
  opendetails({Finding::Opens::Pilot, pilot->callsign, pilot->memberid, {}}, out);
  return out;
}

}  // namespace netglobe
