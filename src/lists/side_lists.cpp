#include "lists/side_lists.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

#include "base/number_text.h"
#include "feed/client_fields.h"
#include "feed/client_lines.h"
#include "layers/station_place.h"

namespace netglobe {

namespace {

std::string joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}

bool holdsobs(std::string_view callsign) {
  constexpr std::string_view kObs = "OBS";
  return std::search(callsign.begin(), callsign.end(), kObs.begin(), kObs.end(),
                     [](char a, char b) {
                       return std::toupper(static_cast<unsigned char>(a)) == b;
                     }) != callsign.end();
}

std::string_view callsignof(std::string_view line) { return line.substr(0, line.find(':')); }

// Hands every line of the stored copy after its header (and a client marker
// on line 8) to each. A copy that cannot be opened gives the reason.
template <class Each>
std::string eachstatusline(LineReader copy, Each each) {
  ClientLines file(std::move(copy));
  if (!file.isopen()) return file.openfailure();
  std::string curline;
  while (file.next(curline)) each(std::string_view(curline));
  return {};
}

// The pilot lines of the last parse, split one after the other.
template <class Each>
void eachpilotrecord(const StatusLists& lists, Each each) {
  const int count = std::min(lists.pilcount, static_cast<int>(lists.pillines.size()) - 1);
  for (int i = 1; i <= count; ++i) {
    each(ClientFields(lists.pillines[static_cast<std::size_t>(i)], 14));
  }
}

bool staffedstation(std::string_view callsign) {
  for (std::string_view suffix : {"GND", "TWR", "DEP", "APP", "CTR"}) {
    if (callsign.ends_with(suffix)) return true;
  }
  return false;
}

// A station's own position; without one, where the reference data place it
// (a centre at its FIR, the others at their aerodrome), or nowhere.
std::optional<StationSpot> stationplace(const ClientFields& f, const RefDirectories& refs, FieldBuf& fieldbuf) {
  if (haspositionfields(f(kLatitude), f(kLongitude))) {
    return StationSpot{leadingnumber(f(kLatitude)), leadingnumber(f(kLongitude))};
  }
  const std::string_view callsign = f(kCallsign);
  return (callsign.ends_with("CTR") ? firofcode(callsign, refs.firs, fieldbuf)
                                    : airportofcode(callsign, refs.airports, fieldbuf))
      .at;
}

}  // namespace

ObsLists getobs(const std::string& statuspath) { return getobs(LineReader(statuspath)); }

ObsLists getobs(LineReader copy) {
  ObsLists lists;
  const std::string failure = eachstatusline(std::move(copy), [&](std::string_view line) {
    const std::string_view callsign = callsignof(line);
    const bool chief = callsign.ends_with("CH");
    // Most lines hold no observer mark at all: those are not split.
    if (!chief && line.find(kObserverMark) == std::string_view::npos) return;
    const ClientFields f(line);
    if (!chief && !f(36).starts_with(kObserverMark)) return;
    SideList& box = holdsobs(callsign) ? lists.listbox2 : lists.listbox1;
    box.add(joined({callsign, " ", f(3), " ", ratingtext(f(17))}), callsign, f(2));
  });
  lists.listbox1.failure = failure;
  lists.listbox2.failure = failure;
  return lists;
}

SideList getfriends(const std::string& statuspath, const FriendIds& friends) {
  return getfriends(LineReader(statuspath), friends);
}

SideList getfriends(LineReader copy, const FriendIds& friends) {
  SideList list;
  list.failure = eachstatusline(std::move(copy), [&](std::string_view line) {
    if (!friends.contains(ClientFields(line, 2)(2))) return;
    const ClientFields f(line, 17);
    list.add(joined({f(1), " STB> ", f(3), " ", ratingtext(f(17))}), f(1), f(2));
  });
  return list;
}

SideList getedbb(const std::string& statuspath, const RefDirectories& refs, const RegionBox& box) {
  return getedbb(LineReader(statuspath), refs, box);
}

SideList getedbb(LineReader copy, const RefDirectories& refs, const RegionBox& box) {
  SideList list;
  FieldBuf fieldbuf;  // for the lookups
  list.failure = eachstatusline(std::move(copy), [&](std::string_view line) {
    if (!staffedstation(callsignof(line))) return;
    const ClientFields f(line, 17);
    const std::optional<StationSpot> at = stationplace(f, refs, fieldbuf);
    if (!at || !box.contains(at->lat, at->lon)) return;
    list.add(joined({f(1), " FIR> ", f(3), " ", ratingtext(f(17))}), f(1), f(2));
  });
  return list;
}

SideList getinbound(const StatusLists& lists, const HomeRegion& home) {
  SideList list;
  eachpilotrecord(lists, [&](const ClientFields& f) {
    if (!home.ishome(f(14))) return;
    list.add(joined({f(1), " in> ", f(14), " ", f(3)}), f(1), f(2));
  });
  return list;
}

SideList getoutbound(const StatusLists& lists, const HomeRegion& home) {
  SideList list;
  eachpilotrecord(lists, [&](const ClientFields& f) {
    if (!home.ishome(f(12))) return;
    list.add(joined({f(1), " out> ", f(14), " ", f(3)}), f(1), f(2));
  });
  return list;
}

}  // namespace netglobe
