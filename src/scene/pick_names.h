#pragma once

#include <cstdint>

namespace netglobe {

// Selection names of the picked objects: one range per kind of object, each
// as large as its status list, so no name of one kind can be read as another.
// Name 0 means no object.
enum class PickKind { None, Approach, ActiveFir, Tower, Aircraft };

inline constexpr std::uint32_t kApproachNames = 0;      // approach station i: i
inline constexpr std::uint32_t kActiveFirNames = 1000;  // centre station i: 1000 + i
inline constexpr std::uint32_t kTowerNames = 2000;      // tower station i: 2000 + i
inline constexpr std::uint32_t kAircraftNames = 3000;   // pilot i: 3000 + i
// Station ranges hold entries 1 to 999, the aircraft range 1 to 1000: more
// than the status lists keep (500 stations of each kind, 1000 pilots).
inline constexpr std::uint32_t kNameRange = 1000;

// The name of entry index (1-based, as in the status lists) of a kind.
constexpr std::uint32_t pickname(PickKind kind, int index) {
  const auto i = static_cast<std::uint32_t>(index);
  switch (kind) {
    case PickKind::Approach: return kApproachNames + i;
    case PickKind::ActiveFir: return kActiveFirNames + i;
    case PickKind::Tower: return kTowerNames + i;
    case PickKind::Aircraft: return kAircraftNames + i;
    case PickKind::None: break;
  }
  return 0;
}

struct PickTarget {
  PickKind kind = PickKind::None;
  int index = 0;  // entry in the kind's status list
  bool operator==(const PickTarget&) const = default;
};

// The object a name stands for; None for 0 and for names outside the ranges.
constexpr PickTarget decodepick(std::uint32_t name) {
  constexpr PickKind kinds[] = {PickKind::Approach, PickKind::ActiveFir, PickKind::Tower};
  if (name > kAircraftNames && name <= kAircraftNames + kNameRange) {
    return {PickKind::Aircraft, static_cast<int>(name - kAircraftNames)};
  }
  if (name >= kAircraftNames || name % kNameRange == 0) return {};
  return {kinds[name / kNameRange], static_cast<int>(name % kNameRange)};
}

}  // namespace netglobe
