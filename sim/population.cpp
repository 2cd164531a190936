#include "population.h"

#include <algorithm>
#include <unordered_set>

#include "client_session.h"
#include "people.h"
#include "pilots.h"
#include "refdata/network_tables.h"
#include "stations.h"

namespace netsim {
namespace {

// The station a random slot staffs, by shares of all slots.
Role randomrole(Rng& rng) {
  static constexpr std::pair<Role, double> kShares[] = {
      {Role::Observer, 0.02},  {Role::Center, 0.052},   {Role::Fss, 0.006},
      {Role::Approach, 0.044}, {Role::Departure, 0.01}, {Role::Tower, 0.048},
      {Role::Ground, 0.028},   {Role::Delivery, 0.012}};
  double u = rng.unit();
  for (const auto& [role, share] : kShares) {
    if (u < share) return role;
    u -= share;
  }
  return Role::Pilot;
}

// Three pilots in four fly airliners, one in ten turboprops, the rest light
// aircraft; u is uniform in [0, 1).
AircraftClass classfor(double u) {
  return u < 0.75 ? AircraftClass::Airliner : u < 0.85 ? AircraftClass::Turboprop : AircraftClass::Light;
}

// Hours of one pilot session and the pause before it; v is uniform in [0, 1).
double pilothours(AircraftClass cls, double v) {
  switch (cls) {
    case AircraftClass::Airliner: return 2 + 10 * v * v;
    case AircraftClass::Turboprop: return 1.2 + 3 * v;
    case AircraftClass::Light: break;
  }
  return 1 + 2 * v;
}

// The first slots hold the clients every snapshot must show, whatever its
// size: chiefs, observers and staffed stations at the home aerodromes.
constexpr Slot::Kind kReservedSlots[] = {Slot::Kind::Chief,         Slot::Kind::Chief,
                                         Slot::Kind::Observer,      Slot::Kind::RegionStation,
                                         Slot::Kind::RegionStation, Slot::Kind::Observer};
constexpr int kFriendFirstSlot = 6;
constexpr int kFriendSpacing = 50;

}  // namespace

Network::Network(World world, std::uint64_t seed, int clients)
    : world_(std::move(world)), seed_(seed) {
  clients = std::clamp(clients, 0, kMaxClients);
  slots_.resize(static_cast<std::size_t>(clients));
  for (int i = 0; i < clients; ++i) {
    Slot& slot = slots_[static_cast<std::size_t>(i)];
    Rng rng(mixkey(mixkey(seed, 0x51075u), static_cast<std::uint64_t>(i)));
    if (i < static_cast<int>(std::size(kReservedSlots))) {
      slot.kind = kReservedSlots[i];
    } else if (i >= kFriendFirstSlot && (i - kFriendFirstSlot) % kFriendSpacing == 0 &&
               (i - kFriendFirstSlot) / kFriendSpacing <
                   static_cast<int>(netglobe::friendids.size())) {
      slot.kind = Slot::Kind::Friend;
      slot.friendindex = (i - kFriendFirstSlot) / kFriendSpacing;
    }
    switch (slot.kind) {
      case Slot::Kind::Chief:
        slot.role = Role::Chief;
        break;
      case Slot::Kind::Observer:
        slot.role = Role::Observer;
        break;
      case Slot::Kind::RegionStation:
        slot.role = Role::Tower;
        break;
      case Slot::Kind::Friend:
        // Friends fly or staff a station, they never only watch.
        do slot.role = randomrole(rng);
        while (slot.role == Role::Observer);
        break;
      case Slot::Kind::Random:
        slot.role = randomrole(rng);
        break;
    }
    if (slot.role == Role::Pilot) {
      slot.aircraftclass = classfor(rng.unit());
      const double hours = pilothours(slot.aircraftclass, rng.unit());
      slot.period = static_cast<std::int64_t>(hours * kHour);
    } else {
      slot.period = static_cast<std::int64_t>(rng.range(0.75, 4.0) * kHour);
    }
    slot.phase = static_cast<std::int64_t>(rng.unit() * static_cast<double>(slot.period));
    if (slot.kind == Slot::Kind::Random) {
      // Two to twelve per cent of the time between two clients: some 7 per
      // cent of the places are empty at any moment.
      slot.pause = static_cast<std::int64_t>(rng.range(0.02, 0.12) * static_cast<double>(slot.period));
    }
  }
}

std::vector<Client> Network::clients(std::int64_t now) const {
  std::vector<Client> out;
  out.reserve(slots_.size());
  for (int i = 0; i < size(); ++i) {
    const Slot& slot = slots_[static_cast<std::size_t>(i)];
    const std::int64_t shifted = now + slot.phase;
    std::int64_t index = shifted / slot.period;
    if (shifted % slot.period < 0) --index;  // floor for times before 1970
    const std::int64_t start = index * slot.period - slot.phase + slot.pause;
    if (now < start) continue;  // the place is empty between two clients
    out.push_back(session(i, index, start, now));
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const Client& a, const Client& b) { return a.logon < b.logon; });
  // The network refuses a callsign that is in use: a station that logs on
  // where one already works takes a numbered position ("LSZH_2_TWR"), which
  // keeps its airport or FIR code in front and its suffix at the end.
  std::unordered_set<std::string> inuse;
  inuse.reserve(out.size());
  for (Client& c : out) {
    std::string& callsign = c.field(1);
    if (inuse.insert(callsign).second) continue;
    const std::size_t cut = callsign.rfind('_');
    if (cut == std::string::npos) continue;  // pilots are unique, chiefs differ by -CH / -ACH
    const std::string head = callsign.substr(0, cut), tail = callsign.substr(cut);
    for (int n = 2;; ++n) {
      std::string numbered = head + "_" + std::to_string(n) + tail;
      if (inuse.insert(numbered).second) {
        callsign = std::move(numbered);
        break;
      }
    }
  }
  return out;
}

Client Network::session(int slotindex, std::int64_t index, std::int64_t start,
                        std::int64_t now) const {
  const Slot& slot = slots_[static_cast<std::size_t>(slotindex)];
  const std::uint64_t key = mixkey(mixkey(seed_, static_cast<std::uint64_t>(slotindex)),
                                   static_cast<std::uint64_t>(index));
  Rng rng(key);
  Client c;
  c.slot = slotindex;
  c.logon = start;
  c.role = slot.role;

  Person person;
  if (slot.kind == Slot::Kind::Friend) {
    // A friend is the same person whenever they connect.
    Rng personal(mixkey(seed_, 0xF12E4Du + static_cast<std::uint64_t>(slot.friendindex)));
    person.id = std::string(netglobe::friendids[static_cast<std::size_t>(slot.friendindex)]);
    person.name = personname(personal);
  } else {
    person.id = memberid(rng);
    person.name = personname(rng);
  }
  const Session session{world_, rng, person, slotindex, key, start, now};
  switch (slot.role) {
    case Role::Chief:
      makechief(c, session, slotindex % 2 == 1);
      break;
    case Role::Observer:
      makeobserver(c, session);
      break;
    case Role::Pilot:
      makepilot(c, session, slot.aircraftclass, static_cast<double>(slot.period - slot.pause));
      break;
    default:
      makestation(c, session, slot.role, slot.kind == Slot::Kind::RegionStation);
      break;
  }
  return c;
}

}  // namespace netsim
