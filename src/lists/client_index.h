#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_reader.h"

namespace netglobe {

enum class ClientKind : unsigned char {
  Pilot,     // the type field says PILOT
  Station,   // the type field says ATC
  Observer,  // the observer text begins with the observer mark
  Other,     // neither type found where the parse looks for it
};

// Where a client is, in degrees, north and east positive.
struct ClientPlace {
  double lat = 0;
  double lon = 0;
  bool operator==(const ClientPlace&) const = default;
};

// The place of a latitude and a longitude field; none when either is empty,
// holds no number or lies outside -90..90 / -180..180.
std::optional<ClientPlace> placeof(std::string_view lattext, std::string_view lontext);

// One client line of the stored copy, windows-1252 as it stands there.
struct ClientEntry {
  std::string callsign;  // position 1
  std::string memberid;  // position 2
  std::string name;      // position 3
  ClientKind kind = ClientKind::Other;
  // None when the latitude or the longitude is empty or holds no number, or
  // lies outside -90..90 / -180..180: nothing to fly to.
  std::optional<ClientPlace> place;
};

// Texts of one field of every entry, folded to lower case and laid end to
// end with a line feed after each, which no field can hold: one search
// through the whole column finds every entry holding a text, and no match
// reaches from one entry into the next.
struct FoldedColumn {
  std::string text;
  std::vector<std::size_t> starts;  // entry i runs from starts[i] to starts[i + 1] - 1
};

// Every client of the stored copy, read once per refresh so that searching
// (at each keystroke) and following need not read the copy again. Built
// from the client lines as the side lists read them (header passed over, a
// client marker on line 8 too), up to the line beginning with "!" that ends
// the client section; lines without a callsign are left out. Nothing is
// cut to the capacity of the drawn lists. Never changed once built, so one
// built on another thread can be handed over whole.
class ClientIndex {
 public:
  ClientIndex() = default;
  explicit ClientIndex(const std::string& statuspath) : ClientIndex(LineReader(statuspath)) {}
  explicit ClientIndex(LineReader copy);

  std::size_t size() const { return entries_.size(); }
  const ClientEntry& operator[](std::size_t i) const { return entries_[i]; }
  const std::vector<ClientEntry>& entries() const { return entries_; }
  const FoldedColumn& callsigns() const { return callsigns_; }
  const FoldedColumn& names() const { return names_; }

  // The first client with exactly this callsign and member id; null when none.
  const ClientEntry* find(std::string_view callsign, std::string_view memberid) const;

  // Why the index is empty although the copy should have been read (it
  // could not be opened); empty when it was read.
  const std::string& failure() const { return failure_; }

 private:
  void add(std::string_view line);

  std::vector<ClientEntry> entries_;
  FoldedColumn callsigns_;
  FoldedColumn names_;
  std::string failure_;
};

}  // namespace netglobe
