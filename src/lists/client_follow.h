#pragma once

#include <string>

#include "lists/client_index.h"

namespace netglobe {

// The pilot the view follows. The same pilot is the same callsign and the
// same member id: another person on that callsign is someone else.
struct FollowedPilot {
  std::string callsign;
  std::string memberid;
  bool operator==(const FollowedPilot&) const = default;
};

enum class FollowState {
  Found,       // recentre on place
  NoPosition,  // still connected, but the line gives no position: stay where the view is
  Gone,        // not in the copy any more: following ends
};

struct FollowStep {
  FollowState state = FollowState::Gone;
  ClientPlace place;  // for Found only
  bool operator==(const FollowStep&) const = default;
};

FollowedPilot followedpilot(const ClientEntry& client);

// Where the followed pilot is in the index of a new refresh.
FollowStep follow(const ClientIndex& index, const FollowedPilot& pilot);

}  // namespace netglobe
