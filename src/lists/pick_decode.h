#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "feed/status_lists.h"

namespace netglobe {

// Entries of the selection buffer a pick pass starts with.
inline constexpr int kSelectBufferSize = 512;
// Lines the object list of one pick holds at most; further objects are left out.
inline constexpr int kMaxPickLines = 50;

// One hit record of a selection pass: number of names, nearest and farthest
// depth, then the names. Most objects carry one name; a shape drawn for
// several stations carries all of theirs, the first standing for it.
struct HitRecord {
  std::uint32_t zmin = 0;
  std::span<const std::uint32_t> names;  // within the buffer read

  bool named() const { return !names.empty(); }
  std::uint32_t name() const { return named() ? names.front() : 0; }  // 0 also without a name
};

// The records of a pass that reported `hits` (the result of glRenderMode),
// each read by its own length; they refer into selbuf. Reading stops at a
// record that would reach past the buffer; an overflow (-1) gives none.
std::vector<HitRecord> hitrecords(int hits, std::span<const std::uint32_t> selbuf);

// What the cursor names after one pick.
struct PickOutcome {
  std::uint32_t pickedname = 0;    // object of the summary; 0 none
  std::string summary;             // one line: nearest object
  std::vector<std::string> lines;  // every object under the cursor, in drawing order
  // The object list as its text box holds it: each line ends in CR LF.
  std::string listtext() const;
};

// Reads one pick against the current status lists. A pick without records
// keeps the previous object (its summary is built again from the lists) and
// empties the list; an overflow names nothing. Of two records where one
// names nothing the other is taken; otherwise the nearest named record wins
// (the earlier among equals), by its first name. The list holds every name
// of every record. Names past a list's count name nothing.
// Texts are windows-1252 like the records they come from.
PickOutcome decodehits(int hits, std::span<const std::uint32_t> selbuf, std::uint32_t pickedname,
                       const StatusLists& lists);

// The summary a pick over a client gives where the lists draw it: among the
// pilots first, then the centre, approach and tower stations; "" when they
// draw it nowhere.
std::string drawnsummary(const StatusLists& lists, const std::string& callsign, const std::string& memberid);

}  // namespace netglobe
