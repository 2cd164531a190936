#include "lists/client_follow.h"

namespace netglobe {

FollowedPilot followedpilot(const ClientEntry& client) { return {client.callsign, client.memberid}; }

FollowStep follow(const ClientIndex& index, const FollowedPilot& pilot) {
  const ClientEntry* now = index.find(pilot.callsign, pilot.memberid);
  if (!now) return {FollowState::Gone, {}};
  if (!now->place) return {FollowState::NoPosition, {}};
  return {FollowState::Found, *now->place};
}

}  // namespace netglobe
