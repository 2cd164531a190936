#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "feed/status_lists.h"
#include "history/pilot_positions.h"
#include "refdata/network_tables.h"
#include "scene/layer.h"

namespace netglobe {

// A trail reaches this far back from the refresh it ends at.
inline constexpr std::int64_t kTrailWindowMs = 30 * 60 * 1000;
// Two positions further apart than this in time or on the globe are not
// joined: the pilot was gone in between, or jumped.
inline constexpr std::int64_t kTrailBreakMs = 10 * 60 * 1000;
inline constexpr double kTrailBreakNm = 300;

// List 18: for every drawn pilot (pillines 1 to pilcount), its track through
// its positions in the frames received within kTrailWindowMs up to endms, in
// order of receipt, as line strips on the overlay shell in its disc's rim
// colour. A pilot is the same pilot when callsign and member id match. A
// track breaks between two positions more than kTrailBreakMs or
// kTrailBreakNm apart; a piece of one position draws nothing. No selection
// names: the frame draws it after the names are dropped.
Layer drawtrails(const std::vector<PositionFrame>& frames, const StatusLists& lists,
                 const FriendIds& friends, std::int64_t endms);

// One pilot's track of the same frames, by the same rules, appended to out
// as line strips without a colour of their own.
void drawpilottrack(DrawList& out, const std::vector<PositionFrame>& frames, std::string_view callsign,
                    std::string_view memberid, std::int64_t endms);

}  // namespace netglobe
