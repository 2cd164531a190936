#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/line_reader.h"
#include "feed/status_lists.h"
#include "refdata/directories.h"
#include "refdata/home_file.h"
#include "refdata/network_tables.h"

namespace netglobe {

// The rows of one side list box, windows-1252, in the order of the stored
// copy (or of the pilot list): nothing sorted, duplicates kept.
// Whom a row names: a double-click on it flies there.
struct RowClient {
  std::string callsign;
  std::string memberid;
  bool operator==(const RowClient&) const = default;
};

struct SideList {
  std::vector<std::string> rows;
  std::vector<RowClient> clients;  // one for each row
  // Why the list is empty although it should have been read (the stored copy
  // could not be opened); empty when it was read. The text stays the same
  // from one refresh to the next, so the window can say it once.
  std::string failure;
  bool readable() const { return failure.empty(); }
  void add(std::string row, std::string_view callsign, std::string_view memberid) {
    rows.push_back(std::move(row));
    clients.push_back({std::string(callsign), std::string(memberid)});
  }
};

// getobs fills two boxes from one read of the stored copy.
struct ObsLists {
  SideList listbox1;  // observers and chiefs whose callsign holds no "OBS"
  SideList listbox2;  // those whose callsign holds "OBS" in any letter case
};

// The three lists read from the stored copy at statuspath (every line after
// the seven header lines is a candidate, whatever section it lies in), or
// from the copy's content handed over as a reader.

// Observers (observer text beginning "ZELV Observer") and chiefs (callsign
// ending "CH"): "callsign name rating".
ObsLists getobs(const std::string& statuspath);
ObsLists getobs(LineReader copy);

// Clients whose member id is a friend's: "callsign STB> name rating".
SideList getfriends(const std::string& statuspath, const FriendIds& friends);
SideList getfriends(LineReader copy, const FriendIds& friends);

// Ground, tower, departure, approach and centre stations inside the region
// box (built in: longitude 10.92 to 14.59, latitude 50.78 to 54.16), edges
// included: "callsign FIR> name rating". A station that reports no position
// counts where the reference data place it by its callsign before the first
// "_" (a centre at its FIR's reference point, the others at their
// aerodrome); one they do not place is not listed.
SideList getedbb(const std::string& statuspath, const RefDirectories& refs, const RegionBox& box = {});
SideList getedbb(LineReader copy, const RefDirectories& refs, const RegionBox& box = {});

// The two read from the pilot list of the last parse.

// Pilots bound for a home aerodrome: "callsign in> destination name".
SideList getinbound(const StatusLists& lists, const HomeRegion& home = {});

// Pilots leaving a home aerodrome. The row shows the destination, as the
// inbound row does: "callsign out> destination name".
SideList getoutbound(const StatusLists& lists, const HomeRegion& home = {});

}  // namespace netglobe
