#pragma once

#include <cstdint>

namespace netglobe {

// Selection names of the picked objects: the kind in the top two bits and
// the entry of its status list in the others, so no name of one kind can be
// read as another however long the lists grow. Name 0 means no object.
enum class PickKind { None, Approach, ActiveFir, Tower, Aircraft };

inline constexpr int kPickKindShift = 30;
inline constexpr std::uint32_t kApproachNames = 0u << kPickKindShift;   // approach station i: i
inline constexpr std::uint32_t kActiveFirNames = 1u << kPickKindShift;  // centre station i
inline constexpr std::uint32_t kTowerNames = 2u << kPickKindShift;      // tower station i
inline constexpr std::uint32_t kAircraftNames = 3u << kPickKindShift;   // pilot i
// Each kind names its entries 1 to kNameRange - 1, far more than a status
// file the download accepts can list.
inline constexpr std::uint32_t kNameRange = 1u << kPickKindShift;

// The name of entry index (1-based, as in the status lists) of a kind; 0
// for an entry no name can stand for.
constexpr std::uint32_t pickname(PickKind kind, int index) {
  if (index < 1 || static_cast<std::uint32_t>(index) >= kNameRange) return 0;
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

// The object a name stands for; None for 0 and for a kind's name without
// an entry.
constexpr PickTarget decodepick(std::uint32_t name) {
  constexpr PickKind kinds[] = {PickKind::Approach, PickKind::ActiveFir, PickKind::Tower,
                                PickKind::Aircraft};
  const std::uint32_t index = name % kNameRange;
  if (index == 0) return {};
  return {kinds[name >> kPickKindShift], static_cast<int>(index)};
}

}  // namespace netglobe
