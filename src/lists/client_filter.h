#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_reader.h"
#include "lists/client_index.h"

namespace netglobe {

// One word of a filter query. Texts are folded to lower case (windows-1252).
struct FilterTerm {
  enum Key : unsigned char {
    Word,   // callsign or name holds it, or the member id begins with it (all digits)
    From,   // the planned departure begins with it
    To,     // the planned destination begins with it
    Type,   // the planned aircraft type begins with it, wake and equipment letters aside
    Above,  // a pilot at or above `feet`
    Below,  // a pilot below `feet`
    Atc,    // a station (observers connect as stations too)
    Pilot,
  } key = Word;
  std::string text;
  int feet = 0;
};

// A query as typed into the search field: words separated by blanks, every
// one of which must match. A word the query cannot use (an unknown key, a
// level that is no level, a key without a value) is left out and named in
// `problems`: it filters nothing.
struct FilterQuery {
  std::string text;  // the words as typed, joined by one blank; empty: no filter
  std::vector<FilterTerm> terms;
  std::vector<std::string> problems;
  bool empty() const { return text.empty(); }
};

FilterQuery parsefilter(std::string_view text);

// What the field says under the matches about a query with unusable words;
// empty when every word is understood.
std::string filterproblemsnote(const FilterQuery& query);

// The client lines of one status copy as the filter matches them, read once
// per refresh so that each change of the query is a pass over prepared
// fields, not over the text. Keeps the lines themselves too: the copy the
// traffic is drawn from under a filter is the header and the matching lines.
class FilterIndex {
 public:
  FilterIndex() = default;
  explicit FilterIndex(LineReader copy);

  std::size_t size() const { return lines_.size(); }
  bool isread() const { return read_; }

  // One flag per client line: 1 where the line matches every term.
  std::vector<std::uint8_t> match(const FilterQuery& query) const;

  // The copy with only the lines flagged in keep: the header as it stands,
  // then those lines in their order, up to where the client section ends.
  std::string filteredcopy(const std::vector<std::uint8_t>& keep) const;

 private:
  struct Entry {
    std::string callsign;  // folded
    std::string name;      // folded
    std::string memberid;
    std::string departure;  // folded
    std::string destination;
    std::string type;  // the bare type, folded
    double altitude = 0;
    ClientKind kind = ClientKind::Other;
  };
  bool matches(const Entry& entry, const FilterTerm& term) const;

  std::string header_;  // the header lines (and a client marker after them), each ended by CR LF
  std::vector<std::string> lines_;
  std::vector<Entry> entries_;
  bool read_ = false;
};

}  // namespace netglobe
